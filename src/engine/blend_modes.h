#pragma once
// The 24 blend and effect modes a dab composites with: fourteen colour
// composites, three hue/saturation/brightness shifts, five displacements and
// two neighbourhood filters. A mode is a code: group in bits 8-11, operation
// within the group in bits 0-7. Pens store the index into blendModeCodes.

#include <array>
#include <cstdint>

#include "image/image.h"
#include "pen/pen.h"
#include "text/name_list.h"

namespace nelmora {

inline constexpr int kBlendModeCount = 24;

inline constexpr int32_t kColourGroup = 0x100;
inline constexpr int32_t kHsbGroup = 0x200;
inline constexpr int32_t kDisplacementGroup = 0x300;
inline constexpr int32_t kFilterGroup = 0x400;

inline constexpr std::array<int32_t, kBlendModeCount> blendModeCodes{
    0x101, 0x102, 0x103, 0x104, 0x105, 0x106, 0x107, 0x108, 0x109, 0x10A, 0x10B, 0x10C,
    0x10D, 0x10E, 0x201, 0x202, 0x203, 0x301, 0x302, 0x303, 0x304, 0x305, 0x401, 0x402,
};

// The 24 names as 7-byte Shift-JIS fields, in blendModeCodes order.
const NameList& blendModeNames();

// Colour group: destination D, dab colour N, alpha 0..254 -> new pixel.
// Index = code & 0xFF; entries 0 and 15 return D.
using ColourOp = uint32_t (*)(uint32_t d, uint32_t n, int32_t alpha);
inline constexpr int kColourOpCount = 16;
extern const std::array<ColourOp, kColourOpCount> colourOps;

// HSB group: D shifted by amount k in hue, saturation or brightness by the
// code (0x201..0x203). k = 0 or another code returns D.
uint32_t hsbShift(uint32_t d, int32_t k, int32_t code);

// Displacement group: the sampling offset (24.8) for a pixel at offset
// (rx, ry) from the dab centre with amount k. Index = code & 0xFF; entries 0
// and 6 return (0, 0).
struct Offset {
    int32_t x;
    int32_t y;
};
using DisplacementOp = Offset (*)(const SlotValues& values, int32_t rx, int32_t ry, int32_t k);
inline constexpr int kDisplacementOpCount = 7;
extern const std::array<DisplacementOp, kDisplacementOpCount> displacementOps;

// Filter group: the new pixel at 24.8 position (x, y) of `image` (blur 0x401,
// mosaic 0x402); any other code gives 0.
uint32_t filterOp(const Image& image, const SlotValues& values, int32_t x, int32_t y, int32_t k, int32_t code);

// Colours built from the hue, saturation and brightness of two colours.
uint32_t takeHue(uint32_t a, uint32_t b);            // hue of b, the rest of a
uint32_t takeSaturation(uint32_t a, uint32_t b);     // saturation of b
uint32_t takeBrightness(uint32_t a, uint32_t b);     // brightness of b
uint32_t takeHueSaturation(uint32_t a, uint32_t b);  // hue and saturation of b

}  // namespace nelmora
