#pragma once
// The "PenSet" tool window (PENSET): the wiring of the twenty slots of either
// current pen as a grid of parameter sliders (sources, scales, base, jitter),
// the pen's three switches, and the pen number that chooses the pen shown.

#include <array>
#include <cstdint>

#include "doc/workspace.h"
#include "pen/pen.h"
#include "platform/tool_window.h"
#include "text/name_list.h"

namespace nelmora {

class Document;
class ParameterSlider;

// Grid columns, left to right: the six fields of a slot in record order.
inline constexpr int kPenSetColumnCount = kSlotFieldCount;
// Header switches, left to right: drawMode, lineColor, endFlag.
inline constexpr int kPenSetSwitchCount = 3;

class PenSetWindow : public ToolWindow {
    Q_OBJECT
public:
    // The pen number chooses the document's edited pen, which the pen creator follows.
    explicit PenSetWindow(Document& document);

    ParameterSlider* gridSlider(int column, int slotIndex) const
    {
        return grid_[size_t(column)][size_t(slotIndex)];
    }
    ParameterSlider* penNumberSlider() const { return penNumberSlider_; }
    ParameterSlider* switchSlider(int index) const { return switches_[size_t(index)]; }
    int penNumber() const { return penNumber_; }
    int shownPen() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void setPenNumber(int32_t number);

    Document& document_;
    int32_t penNumber_ = 0;
    NameList drawModeNames_;
    NameList lineColorNames_;
    NameList endNames_;
    ParameterSlider* penNumberSlider_ = nullptr;
    std::array<ParameterSlider*, kPenSetSwitchCount> switches_{};
    std::array<std::array<ParameterSlider*, kSlotCount>, kPenSetColumnCount> grid_{};
};

}  // namespace nelmora
