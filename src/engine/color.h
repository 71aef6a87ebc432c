#pragma once
// Hue/saturation/brightness <-> RGB conversions, the weighted pixel mix and the
// bilinear sampler. Their exact integer rounding is part of the program's look.

#include <algorithm>
#include <cstdint>

#include "image/image.h"

namespace nelmora {

// Hue 0..0xFFFF (red 0, green 0x5555, blue 0xAAAA), saturation and brightness 0..0xFFFF.
void rgbToHsb(uint32_t color, int32_t& hue, int32_t& saturation, int32_t& brightness);
uint32_t hsbToRgb(int32_t hue, int32_t saturation, int32_t brightness);

// w = 0 gives a, w = 256 gives b; otherwise a per-channel rounded mix with 0xFF
// in the top byte. Weights outside 0..256 wrap to the channel's low byte.
// Inline: every blend, sampler and filter calls it per pixel.
inline uint32_t mixColor(uint32_t a, uint32_t b, int32_t w)
{
    if (w == 0) return a;
    if (w == 256) return b;
    if (uint32_t(w) < 256) {
        // Red and blue together: each field stays below 65536, so no carries cross.
        const uint32_t n = uint32_t(256 - w), uw = uint32_t(w);
        const uint32_t rb = ((a & 0xFF00FFu) * n + (b & 0xFF00FFu) * uw + 0x800080u) >> 8;
        const uint32_t g = ((a & 0xFF00u) * n + (b & 0xFF00u) * uw + 0x8000u) >> 8;
        return 0xFF000000u | (rb & 0xFF00FFu) | (g & 0xFF00u);
    }
    // Out-of-range weights, channel by channel in unsigned arithmetic: bits
    // 8-15 of each sum are the same as with signed arithmetic.
    const uint32_t n = uint32_t(256 - int64_t(w)), uw = uint32_t(w);
    auto mix = [&](int shift) {
        const uint32_t sum = ((a >> shift) & 0xFF) * n + ((b >> shift) & 0xFF) * uw + 128u;
        return ((sum >> 8) & 0xFF) << shift;
    };
    return 0xFF000000u | mix(16) | mix(8) | mix(0);
}

// Bilinear read at a 24.8 position; never reads outside the image.
inline uint32_t sampleBilinear(const Image& image, int32_t x, int32_t y)
{
    int32_t ix = x < 0 ? 0 : x >> 8;
    int32_t iy = y < 0 ? 0 : y >> 8;
    // An image one pixel wide or high has no second column or row: the
    // neighbour read then falls back to the same pixel.
    ix = std::max(0, std::min(ix, image.width - 2));
    iy = std::max(0, std::min(iy, image.height - 2));
    const int32_t nextX = image.width > 1 ? 1 : 0;
    const int32_t nextY = image.height > 1 ? image.stride : 0;
    const int32_t fx = x & 0xFF;
    const int32_t fy = y & 0xFF;
    const uint32_t* p = image.pixels + size_t(iy) * image.stride + ix;
    uint32_t upper = p[0];
    uint32_t lower = p[nextY];
    if (fx != 0) {
        upper = mixColor(p[0], p[nextX], fx);
        lower = mixColor(p[nextY], p[nextY + nextX], fx);
    }
    return fy != 0 ? mixColor(upper, lower, fy) : upper;
}

}  // namespace nelmora
