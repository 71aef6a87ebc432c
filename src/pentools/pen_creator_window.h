#pragma once
// The "PenCreator" tool window (PENCREATOR): eleven parameter sliders over one
// pen's blend mode and shape settings, a shape preview and a profile graph.
// It edits the document's edited pen, which the pen set chooses.

#include <array>

#include "pentools/pen_creator_sliders.h"
#include "platform/tool_window.h"
#include "text/name_list.h"

namespace nelmora {

class Document;
class ParameterSlider;
class ShapePreviewView;
class ProfileGraphView;

class PenCreatorWindow : public ToolWindow {
    Q_OBJECT
public:
    explicit PenCreatorWindow(Document& document);

    int currentPenIndex() const;
    const Pen& currentPen() const;
    const ShapeSettings& currentSettings() const;
    // The user asked for a new map of the edited pen (a shape slider, a right
    // click on the preview): it is rebuilt from the settings, noise re-rolled.
    void regenerateMap();

    ParameterSlider* slider(int row) const { return sliders_[size_t(row)]; }
    ShapePreviewView* shapePreview() const { return preview_; }
    ProfileGraphView* profileGraph() const { return graph_; }

private:
    Document& document_;
    NameList blendNames_;
    NameList typeNames_;
    std::array<ParameterSlider*, kPenCreatorSliderCount> sliders_{};
    ShapePreviewView* preview_ = nullptr;
    ProfileGraphView* graph_ = nullptr;
};

}  // namespace nelmora
