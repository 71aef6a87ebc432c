#pragma once
// Hue/saturation/brightness <-> RGB conversions, the weighted pixel mix and the
// bilinear sampler. Their exact integer rounding is part of the program's look.

#include <cstdint>

#include "image/image.h"

namespace nelmora {

// Hue 0..0xFFFF (red 0, green 0x5555, blue 0xAAAA), saturation and brightness 0..0xFFFF.
void rgbToHsb(uint32_t colour, int32_t& hue, int32_t& saturation, int32_t& brightness);
uint32_t hsbToRgb(int32_t hue, int32_t saturation, int32_t brightness);

// w = 0 gives a, w = 256 gives b; otherwise a per-channel rounded mix with 0xFF
// in the top byte. Weights outside 0..256 wrap to the channel's low byte.
uint32_t mixColor(uint32_t a, uint32_t b, int32_t w);

// Bilinear read at a 24.8 position; never reads outside the image.
uint32_t sampleBilinear(const Image& image, int32_t x, int32_t y);

inline uint32_t swapRedBlue(uint32_t colour)
{
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00FF00u) | ((colour >> 16) & 0xFFu);
}

}  // namespace nelmora
