#pragma once
// The "PenCreator" tool window (PENCREATOR): eleven parameter sliders over one
// pen's blend mode and shape settings, a shape preview and a profile graph.
// It edits pen 0 or pen 1, as the pen set chooses through selectPen.

#include <array>

#include "pentools/pen_creator_sliders.h"
#include "platform/tool_window.h"
#include "text/name_list.h"

namespace nelmora {

struct AppState;
class ParameterSlider;
class ShapePreviewView;
class ProfileGraphView;

class PenCreatorWindow : public ToolWindow {
    Q_OBJECT
public:
    // Also writes the slider defaults into both pens.
    explicit PenCreatorWindow(AppState& state);

    // Aims every slider at pen `penIndex` and repaints; other indices are ignored.
    void selectPen(int penIndex);

    int currentPenIndex() const { return pen_; }
    Pen& currentPen() const;
    ShapeSettings& currentSettings() const;

    ParameterSlider* slider(int row) const { return sliders_[size_t(row)]; }
    ShapePreviewView* shapePreview() const { return preview_; }
    ProfileGraphView* profileGraph() const { return graph_; }

private:
    AppState& state_;
    int pen_ = 0;
    SliderTargets targets_{};
    NameList blendNames_;
    NameList typeNames_;
    std::array<ParameterSlider*, kPenCreatorSliderCount> sliders_{};
    ShapePreviewView* preview_ = nullptr;
    ProfileGraphView* graph_ = nullptr;
};

}  // namespace nelmora
