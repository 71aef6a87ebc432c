#pragma once
// The main frame: owns the document, the canvas and the six tool windows,
// and carries the menu "MYMENU" with its commands.

#include <QMainWindow>
#include <array>
#include <memory>

#include "app/view_scale.h"
#include "doc/canvas_stroke.h"
#include "platform/tool_window.h"

class QAction;
class QMenu;

namespace nelmora {

class CanvasView;
class CanvasWindow;
class Document;
class StatusBar;

// Tool windows by their place in the frame's list.
enum ToolIndex {
    kPenPaletteTool = 0,
    kColorCreatorTool,
    kLineOptionTool,
    kPenCreatorTool,
    kPenSetTool,
    kTabletTesterTool,
    kToolCount
};

// The menu's working commands.
struct MainFrameActions {
    QAction* newImage = nullptr;
    QAction* open = nullptr;
    QAction* save = nullptr;
    QAction* exit = nullptr;
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* redraw = nullptr;
    std::array<QAction*, kZoomLevels.size()> zoom{};  // the magnifier's levels, in kZoomLevels order
    QAction* fillWhite = nullptr;
    QAction* fillChecker = nullptr;
    QAction* fillBlack = nullptr;
    QAction* saveRecording = nullptr;
    QAction* replayRecording = nullptr;
    QAction* repaintLastStroke = nullptr;
    std::array<QAction*, kToolCount> toggleTool{};  // in ToolIndex order
};

class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Runs the whole start-up: document, canvas, tool windows, their visibility.
    // `undoBudget` bounds the memory the undo history keeps.
    explicit MainFrame(StrokeOps strokeOps = engineStrokeOps(), size_t undoBudget = kDefaultUndoBudget);
    ~MainFrame() override;

    // False when start-up ran out of memory; nothing else was built then.
    bool started() const { return document_ != nullptr; }

    Document& document() { return *document_; }
    CanvasWindow* canvas() const { return canvas_; }
    CanvasView* view() const { return view_; }
    StatusBar* statusLine() const { return statusBar_; }
    // Null once the frame has closed.
    ToolWindow* toolWindow(int index) const { return toolWindows_[size_t(index)]; }
    bool toolVisible(int index) const { return toolVisible_[size_t(index)] != 0; }
    const MainFrameActions& actions() const { return actions_; }

    // Opens a picture in any format the program reads (Open, a dropped file,
    // the command line). On failure a message names the file and the reason,
    // and the current picture stays.
    bool openPicture(const QString& path);

public slots:
    void newImage();
    void openImage();
    void saveImage();
    void saveRecording();
    void replayRecording();
    void fill(uint32_t a, uint32_t b);
    void toggleTool(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenu();
    void updateUndoActions();
    void showZoom(int percent);
    void applyVisibility();
    void destroyToolWindows();

    std::unique_ptr<Document> document_;
    CanvasView* view_ = nullptr;
    CanvasWindow* canvas_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    std::array<ToolWindow*, kToolCount> toolWindows_{};
    std::array<int, kToolCount> toolVisible_{1, 1, 1, 0, 0, 0};
    MainFrameActions actions_;
};

}  // namespace nelmora
