#include "color/color_slider.h"

#include <algorithm>
#include <iterator>

#include "engine/color.h"

namespace nelmora {

namespace {

struct Rgb {
    int32_t r, g, b;
};

Rgb bytesOf(uint32_t color)
{
    return {int32_t((color >> 16) & 0xFF), int32_t((color >> 8) & 0xFF), int32_t(color & 0xFF)};
}

uint32_t packRgb(int32_t r, int32_t g, int32_t b)
{
    return (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) | uint32_t(b & 0xFF);
}

// K: the color with channel n at the column's value; F: that channel alone.
struct ColumnColors {
    uint32_t k, f;
};

ColumnColors columnColors(int32_t n, int32_t v, int32_t u, int32_t h, int32_t s, int32_t b, Rgb rgb)
{
    switch (n) {
    case 1: return {hsbToRgb(v, s, b), hsbToRgb(v, 0xFFFF, 0xFFFF)};
    case 2: return {hsbToRgb(h, v, b), hsbToRgb(h, v, 0xFFFF)};
    case 3: return {hsbToRgb(h, s, v), hsbToRgb(h, 0xFFFF, v)};
    case 4: return {packRgb(u, rgb.g, rgb.b), packRgb(u, 0, 0)};
    case 5: return {packRgb(rgb.r, u, rgb.b), packRgb(0, u, 0)};
    default: return {packRgb(rgb.r, rgb.g, u), packRgb(0, 0, u)};
    }
}

// UTF-8, by channel n - 1.
constexpr const char* kChannelNames[] = {"色相 (hue)", "彩度 (saturation)", "明度 (brightness)",
                                         "赤 (red)",   "緑 (green)",        "青 (blue)"};

}  // namespace

const char* colorChannelName(int32_t n)
{
    return n >= 1 && n <= int32_t(std::size(kChannelNames)) ? kChannelNames[n - 1] : "";
}

int32_t sliderValuePosition(int32_t n, int32_t width, int32_t h, int32_t s, int32_t b)
{
    // 64-bit: the values are not range-checked where they are written.
    if (n >= 1 && n <= 3) {
        const int32_t value = n == 1 ? h : n == 2 ? s : b;
        return int32_t(int64_t{value} * width / 65536);
    }
    const Rgb rgb = bytesOf(hsbToRgb(h, s, b));
    const int32_t byte = n == 4 ? rgb.r : n == 5 ? rgb.g : rgb.b;
    return int32_t(int64_t{byte} * width / 256);
}

void renderColorSlider(Image& strip, int32_t width, int32_t height, int32_t n, int32_t h, int32_t s, int32_t b)
{
    if (width <= 0 || height <= 0) return;
    const int32_t columns = std::min({width, strip.width, kColorSliderStripWidth});
    const int32_t rows = std::min({height, strip.height, kColorSliderStripHeight});
    const int32_t p = sliderValuePosition(n, width, h, s, b);
    const Rgb rgb = bytesOf(hsbToRgb(h, s, b));
    const int32_t t = 3 * height / 4;
    for (int32_t x = 0; x < columns; ++x) {
        const int32_t v = int32_t(int64_t{x} * 65536 / width);
        const int32_t u = int32_t(int64_t{x} * 256 / width);
        const ColumnColors c = columnColors(n, v, u, h, s, b, rgb);
        for (int32_t y = 0; y < rows; ++y) {
            uint32_t pixel;
            if (y < t) {
                // Light to dark left of the value, dark to light right of it.
                const int32_t shade = (y * 1024 / height) / 3;
                const uint32_t grey = mixColor(0x000000, 0xFFFFFF, x < p ? 255 - shade : shade);
                pixel = mixColor(c.k, grey, 100);
            } else {
                pixel = (x <= p && y == t) ? 0 : c.f;
            }
            strip.at(x, y) = pixel;
        }
    }
    if (p >= 0 && p < columns)
        for (int32_t y = 0; y < std::min(t, rows); ++y) strip.at(p, y) = 0;
}

bool colorSliderClick(ColorCreatorState& state, const ColorSliderRecord& slider, int32_t x, int32_t width)
{
    if (width <= 0) return false;
    const int32_t n = effectiveChannel(slider.channel, state.rgbMode);
    const int32_t v = int32_t(int64_t{x} * 65536 / width);
    int32_t h = editedHue(state), s = editedSaturation(state), b = editedBrightness(state);
    switch (n) {
    case 1: h = v; break;
    case 2: s = v; break;
    case 3: b = v; break;
    default: {
        Rgb rgb = bytesOf(hsbToRgb(h, s, b));
        int32_t& channel = n == 4 ? rgb.r : n == 5 ? rgb.g : rgb.b;
        channel = v / 256;
        rgbToHsb(packRgb(rgb.r, rgb.g, rgb.b), h, s, b);
        break;
    }
    }
    setEditedColor(state, h, s, b);
    state.fieldDirty = true;
    return true;
}

bool colorSliderDrag(ColorCreatorState& state, const ColorSliderRecord& slider, int32_t x, int32_t width)
{
    return colorSliderClick(state, slider, std::clamp(x, 0, std::max(width - 1, 0)), width);
}

void colorSliderStep(ColorCreatorState& state, const ColorSliderRecord& slider, int32_t steps)
{
    if (steps == 0) return;
    const int32_t n = effectiveChannel(slider.channel, state.rgbMode);
    int32_t h = editedHue(state), s = editedSaturation(state), b = editedBrightness(state);
    if (n >= 1 && n <= 3) {
        int32_t& channel = n == 1 ? h : n == 2 ? s : b;
        channel = int32_t(std::clamp<int64_t>(channel + int64_t{steps} * kColorSliderStep, 0, 0xFFFF));
    } else {
        const auto channelOf = [n](Rgb& c) -> int32_t& { return n == 4 ? c.r : n == 5 ? c.g : c.b; };
        Rgb moved = bytesOf(hsbToRgb(h, s, b));
        const int32_t from = channelOf(moved);
        const int32_t direction = steps > 0 ? 1 : -1;
        // HSB cannot hold every RGB colour: a byte that comes back unchanged
        // through it is pushed one further, so every notch moves the slider.
        for (int32_t target = int32_t(std::clamp<int64_t>(int64_t{from} + steps, 0, 255));; target += direction) {
            channelOf(moved) = target;
            rgbToHsb(packRgb(moved.r, moved.g, moved.b), h, s, b);
            Rgb back = bytesOf(hsbToRgb(h, s, b));
            if (channelOf(back) != from || target == 0 || target == 255) break;
        }
    }
    setEditedColor(state, h, s, b);
    state.fieldDirty = true;
}

void toggleRgbMode(int32_t& rgbMode)
{
    rgbMode = rgbMode + 3;
    if (rgbMode > 5) rgbMode = 0;
}

}  // namespace nelmora
