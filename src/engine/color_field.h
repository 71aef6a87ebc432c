#pragma once
// The color field: a hue/saturation wheel, a hue/brightness wheel or a
// saturation/brightness square, with markers at a color, composed into a
// 200 x 300 image. Color arithmetic only; the color creator shows it.

#include <cstdint>

#include "image/image.h"

namespace nelmora {

inline constexpr int32_t kHueSaturationWheel = 16;
inline constexpr int32_t kHueBrightnessWheel = 17;
inline constexpr int32_t kSaturationBrightnessSquare = 18;

inline constexpr int32_t kColorFieldImageWidth = 200;
inline constexpr int32_t kColorFieldImageHeight = 300;
// Rows 0..89 lie under the color box and sliders; the field is the 200 x 200
// below them. Rows 290..299 are never drawn.
inline constexpr int32_t kFieldTop = 90;
inline constexpr int32_t kFieldSize = 200;

// A client point seen from the wheel centre (100, 190): r is the distance in
// units of the 100-pixel radius, hue the angle (0 up, clockwise) as a hue.
struct WheelPoint {
    double r;
    int32_t hue;
};
WheelPoint wheelPoint(int32_t x, int32_t y);

// Fills rows 0..89 white and draws the field of `mode` for the color (h, s, b)
// with its markers. Does nothing on an image smaller than 200 x 290.
void renderColorField(Image& image, int32_t mode, int32_t h, int32_t s, int32_t b);

}  // namespace nelmora
