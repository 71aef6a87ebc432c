#include "engine/color.h"

#include <algorithm>

namespace nelmora {

void rgbToHsb(uint32_t color, int32_t& hue, int32_t& saturation, int32_t& brightness)
{
    const int32_t r = (color >> 16) & 0xFF;
    const int32_t g = (color >> 8) & 0xFF;
    const int32_t b = color & 0xFF;
    const int32_t max = std::max({r, g, b});
    const int32_t min = std::min({r, g, b});
    if (max == 0) {
        hue = saturation = brightness = 0;
        return;
    }
    brightness = max * 256 + 255;
    saturation = ((max - min) * 0xFFFF) / max;
    if (max == min) {
        hue = 0;
        return;
    }
    const int32_t d = max - min;
    auto q = [&](int32_t channel) { return (((channel - min) * 65536) / 6) / d; };
    if (max == r && min == b)
        hue = q(g);
    else if (max == r)
        hue = 0xFFFF - q(b);
    else if (max == g && min == r)
        hue = 0x5555 + q(b);
    else if (max == g)
        hue = 0x5554 - q(r);
    else if (min == g)
        hue = 0xAAAA + q(r);
    else
        hue = 0xAAAA - q(g);
}

uint32_t hsbToRgb(int32_t hue, int32_t saturation, int32_t brightness)
{
    const int32_t sector = ((hue & 0xFFFF) * 6) >> 16;
    // Deliberately unmasked: callers pass 0..0xFFFF, the division truncates toward zero.
    const int32_t p = int32_t(uint32_t(hue) * 6u + 128u) / 256;
    int32_t r = 0, g = 0, b = 0;
    switch (sector) {
    case 0: r = 255; g = p; b = 0; break;
    case 1: r = 512 - p; g = 255; b = 0; break;
    case 2: r = 0; g = 255; b = p - 512; break;
    case 3: r = 0; g = 1024 - p; b = 255; break;
    case 4: r = p - 1024; g = 0; b = 255; break;
    default: r = 255; g = 0; b = 1536 - p; break;
    }
    // Bits 24-31 of the unsigned 32-bit product; it can reach 0xFFFE0001.
    auto channel = [&](int32_t x) {
        const uint32_t scaled =
            uint32_t(int32_t(uint32_t(x) * uint32_t(saturation)) >> 8) + (0xFFFFu - uint32_t(saturation));
        return (scaled * uint32_t(brightness)) >> 24;
    };
    return (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

}  // namespace nelmora
