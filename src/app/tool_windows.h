#pragma once
// The tool windows, as the main frame creates them at start-up: each factory
// returns a hidden top-level window (no owner); five edit the document, the
// tablet tester shows what the canvas hears from a tablet. The main frame
// shows and hides them and owns them for the whole run.

class QWidget;

namespace nelmora {

class CanvasWindow;
class Document;
class ToolWindow;

ToolWindow* createPenPaletteWindow(Document& document);
ToolWindow* createColorCreatorWindow(Document& document);
ToolWindow* createLineOptionWindow(Document& document);
ToolWindow* createPenCreatorWindow(Document& document);
ToolWindow* createPenSetWindow(Document& document);
ToolWindow* createTabletTesterWindow(const CanvasWindow& canvas);

}  // namespace nelmora
