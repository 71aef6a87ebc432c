#include "color/color_box.h"

#include <utility>

#include "engine/color.h"

namespace nelmora {

namespace {

constexpr int32_t kRectWidth = 30;
constexpr int32_t kRectHeight = 40;

}  // namespace

BoxRect colorBoxRect(int color, int32_t width, int32_t height)
{
    if (color == 0) return {0, 0, kRectWidth, kRectHeight};
    return {width - kRectWidth, height - kRectHeight, width, height};
}

std::array<ColorBoxLayer, 2> colorBoxLayers(const ColorCreatorState& state, int32_t width, int32_t height)
{
    const DrawingValues& v = state.workspace->drawingValues();
    auto layer = [&](int color) {
        const int first = color == 0 ? dv::hue1 : dv::hue2;
        return ColorBoxLayer{colorBoxRect(color, width, height), hsbToRgb(v[first], v[first + 1], v[first + 2])};
    };
    const int front = state.secondColorActive ? 1 : 0;
    return {layer(1 - front), layer(front)};
}

bool colorBoxLeftClick(ColorCreatorState& state, int32_t x, int32_t y, int32_t width, int32_t height)
{
    const int32_t otherLeft = width - kRectWidth;
    const int32_t otherTop = height - kRectHeight;
    if (!state.secondColorActive) {
        if (x > otherLeft && y > otherTop && (x > kRectWidth || y > kRectHeight)) {
            state.secondColorActive = 1;
            return true;
        }
    } else if (x < kRectWidth && y < kRectHeight && (x < otherLeft || y < otherTop)) {
        state.secondColorActive = 0;
        return true;
    }
    return false;
}


}  // namespace nelmora
