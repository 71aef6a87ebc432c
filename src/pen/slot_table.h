#pragma once
// The twenty slots of a pen, one record each: what the slot sets, the label
// the pen set shows, whether its value is an angle (it then wraps when
// interpolated), and the sources the two start-up pens wire into it.

#include <array>
#include <cstdint>
#include <string_view>

#include "pen/drawing_values.h"
#include "pen/pen.h"

namespace nelmora {

struct SlotWiring {
    int32_t sourceA;
    int32_t sourceB;
};

struct SlotInfo {
    int index;               // the slot's place in a pen's params
    std::string_view name;   // what it sets, in words
    std::string_view label;  // the pen set's 5-byte row label (UTF-8)
    bool angle;
    std::array<SlotWiring, kPenCount> wiring;  // pen 0, pen 1 at start-up
};

namespace detail {
constexpr std::array<SlotWiring, kPenCount> both(int32_t source) { return {{{source, dv::none}, {source, dv::none}}}; }
constexpr std::array<SlotWiring, kPenCount> perPen(SlotWiring pen0, SlotWiring pen1) { return {{pen0, pen1}}; }
}  // namespace detail

// Pen 0's color 2 follows color 1 and pen 1's color 1 follows color 2;
// pen 1's angle also turns with the motion; both place dabs by EX 5 and EX 6.
inline constexpr std::array<SlotInfo, kSlotCount> slotTable{{
    {slot::hue1, "hue 1", "色相1", true, detail::perPen({dv::hue1, dv::none}, {dv::hue2, dv::none})},
    {slot::saturation1, "saturation 1", "彩度1", false,
     detail::perPen({dv::saturation1, dv::none}, {dv::saturation2, dv::none})},
    {slot::brightness1, "brightness 1", "明度1", false,
     detail::perPen({dv::brightness1, dv::none}, {dv::brightness2, dv::none})},
    {slot::hue2, "hue 2", "色相2", true, detail::perPen({dv::hue1, dv::none}, {dv::hue2, dv::none})},
    {slot::saturation2, "saturation 2", "彩度2", false,
     detail::perPen({dv::saturation1, dv::none}, {dv::saturation2, dv::none})},
    {slot::brightness2, "brightness 2", "明度2", false,
     detail::perPen({dv::brightness1, dv::none}, {dv::brightness2, dv::none})},
    {slot::thickness, "thickness", "太さ ", false, detail::both(dv::thickness1)},
    {slot::interval, "interval", "間隔 ", false, detail::both(dv::interval)},
    {slot::angle, "angle", "角度 ", true, detail::perPen({dv::angle1, dv::none}, {dv::angle1, dv::moveAngle})},
    {slot::strength, "strength", "強さ ", false, detail::both(dv::strength1)},
    {slot::motion, "motion", "動き ", false, detail::both(dv::moveDistance)},
    {slot::motionAngle, "motion angle", "動角 ", true, detail::both(dv::moveAngle)},
    {slot::pressure, "pressure", "筆圧 ", false, detail::both(dv::pressure)},
    {slot::penAngle, "pen angle", "筆角 ", true, detail::both(dv::penAngle)},
    {slot::type, "type", "種類 ", false, detail::both(dv::type1)},
    {slot::placement, "placement", "配置 ", false, detail::both(dv::ex5)},
    {slot::placementAngle, "placement angle", "配角 ", true, detail::both(dv::ex6)},
    {slot::ex1, "EX 1", "EX  1", false, detail::both(dv::ex3)},
    {slot::ex2, "EX 2", "EX  2", false, detail::both(dv::ex4)},
    {slot::ex3, "EX 3", "EX  3", false, detail::both(dv::ex5)},
}};

// The source a pen-set source slider returns to on a right click: the one
// after the slot's own number, as both start-up pens begin from.
constexpr int32_t defaultSlotSource(int slotIndex) { return slotIndex + 1; }

}  // namespace nelmora
