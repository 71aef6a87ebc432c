#pragma once
// The "PenSet" tool window (PENSET): the wiring of the twenty slots of either
// current pen as a grid of parameter sliders (sources, scales, base, jitter),
// the pen's three switches, and the pen number that chooses the pen shown.

#include <array>
#include <cstdint>
#include <functional>

#include "pen/pen.h"
#include "pentools/pen_set_targets.h"
#include "platform/tool_window.h"
#include "text/name_list.h"

namespace nelmora {

class ParameterSlider;

class PenSetWindow : public ToolWindow {
    Q_OBJECT
public:
    // `pens` is the application's table of current pens; it must outlive the
    // window. `selectPen` is told the new pen number at every switch.
    PenSetWindow(std::array<Pen*, kPenCount>& pens, std::function<void(int)> selectPen);

    ParameterSlider* gridSlider(int column, int slotIndex) const
    {
        return grid_[size_t(column)][size_t(slotIndex)];
    }
    ParameterSlider* penNumberSlider() const { return penNumberSlider_; }
    ParameterSlider* switchSlider(int index) const { return switches_[size_t(index)]; }
    int penNumber() const { return penNumber_; }
    int shownPen() const { return shownPen_; }

protected:
    // Follows a change of the pen number before the sliders repaint.
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::array<Pen*, kPenCount>& pens_;
    std::function<void(int)> selectPen_;
    int32_t penNumber_ = 0;
    int32_t* penNumberCell_ = &penNumber_;  // never re-aimed
    int shownPen_ = 0;
    PenSetTargets targets_;
    NameList drawModeNames_;
    NameList lineColorNames_;
    NameList endNames_;
    ParameterSlider* penNumberSlider_ = nullptr;
    std::array<ParameterSlider*, kPenSetSwitchCount> switches_{};
    std::array<std::array<ParameterSlider*, kSlotCount>, kPenSetColumnCount> grid_{};
};

}  // namespace nelmora
