#pragma once
// Where the pen set's sliders write: one pointer per grid cell and switch,
// aimed at the slots and switches of the pen being shown. The sliders hold the
// addresses of these entries, so re-aiming the entries moves every slider to
// another pen at once.

#include <array>
#include <cstddef>
#include <cstdint>

#include "pen/pen.h"

namespace nelmora {

// Grid columns, left to right: the six fields of a PenParam in record order.
inline constexpr int kPenSetColumnCount = 6;
// Header switches, left to right: drawMode, lineColor, endFlag.
inline constexpr int kPenSetSwitchCount = 3;

struct PenSetTargets {
    std::array<std::array<int32_t*, kSlotCount>, kPenSetColumnCount> grid{};  // [column][slot]
    std::array<int32_t*, kPenSetSwitchCount> switches{};
};

// Field `column` (0 sourceA, 1 scaleA, 2 sourceB, 3 scaleB, 4 base, 5 jitter).
int32_t& penParamField(PenParam& param, int column);

// Aims every entry at the corresponding field of `pen`.
void aimPenSetTargets(PenSetTargets& targets, Pen& pen);

}  // namespace nelmora
