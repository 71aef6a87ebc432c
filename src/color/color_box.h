#pragma once
// The color box: color 1 and color 2 as two overlapping framed
// rectangles, the edited one in front. A click on the other's visible part
// makes it the edited color; the right button swaps the two colors.

#include <array>
#include <cstdint>

#include "color/color_creator_state.h"

namespace nelmora {

// right and bottom exclusive.
struct BoxRect {
    int32_t left, top, right, bottom;
};

struct ColorBoxLayer {
    BoxRect rect;
    uint32_t color;  // 0x00RRGGBB
};

BoxRect colorBoxRect(int color, int32_t width, int32_t height);

// The two rectangles in painting order: the color not being edited first.
std::array<ColorBoxLayer, 2> colorBoxLayers(const ColorCreatorState& state, int32_t width, int32_t height);

// Returns true when the click switched the edited color.
bool colorBoxLeftClick(ColorCreatorState& state, int32_t x, int32_t y, int32_t width, int32_t height);

}  // namespace nelmora
