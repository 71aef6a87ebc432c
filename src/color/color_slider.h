#pragma once
// The channel slider's picture and click: one channel of the edited color
// (hue, saturation, brightness, or red, green, blue in RGB mode) as a shaded
// band with a value line over a pure ramp of that channel.

#include <cstdint>

#include "color/color_creator_state.h"
#include "image/image.h"

namespace nelmora {

// The strip that all sliders compose their picture on; a slider's client
// area must fit in it.
inline constexpr int32_t kColorSliderStripWidth = 200;
inline constexpr int32_t kColorSliderStripHeight = 50;

inline constexpr int32_t kHsbMode = 0;
inline constexpr int32_t kRgbMode = 3;

// One per slider window: which channel (1, 2, 3) of the edited color.
struct ColorSliderRecord {
    int32_t channel;
};

// 1 hue, 2 saturation, 3 brightness, 4 red, 5 green, 6 blue.
inline int32_t effectiveChannel(int32_t channel, int32_t rgbMode) { return channel + rgbMode; }

// The column of the value line for a client `width` pixels wide.
int32_t sliderValuePosition(int32_t n, int32_t width, int32_t h, int32_t s, int32_t b);

// Composes the picture of channel n for a width x height client into the
// strip's top-left corner (clipped to the strip).
void renderColorSlider(Image& strip, int32_t width, int32_t height, int32_t n, int32_t h, int32_t s, int32_t b);

// Sets the slider's channel of the edited color from client
// column x (through rgbToHsb in RGB mode) and marks the field dirty; false,
// changing nothing, for a client without width.
bool colorSliderClick(ColorCreatorState& state, const ColorSliderRecord& slider, int32_t x, int32_t width);

// Switches all sliders between 0 (HSB) and 3 (RGB).
void toggleRgbMode(int32_t& rgbMode);

}  // namespace nelmora
