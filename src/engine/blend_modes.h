#pragma once
// The 24 blend and effect modes a dab composites with: fourteen color
// composites, three hue/saturation/brightness shifts, five displacements and
// two neighbourhood filters. A mode is a code: group in bits 8-11, operation
// within the group in bits 0-7. Pens store the index into blendModes.

#include <array>
#include <cstdint>

#include <string_view>

#include "engine/random.h"
#include "image/image.h"
#include "pen/pen.h"
#include "text/name_list.h"

namespace nelmora {

inline constexpr int kBlendModeCount = 24;

inline constexpr int32_t kColorGroup = 0x100;
inline constexpr int32_t kHsbGroup = 0x200;
inline constexpr int32_t kDisplacementGroup = 0x300;
inline constexpr int32_t kFilterGroup = 0x400;

// Color group: destination D, dab color N, alpha 0..254 -> new pixel.
using ColorOp = uint32_t (*)(uint32_t d, uint32_t n, int32_t alpha);
// HSB group: D shifted by amount k (k = 0 returns D).
using HsbOp = uint32_t (*)(uint32_t d, int32_t k);
// Displacement group: the sampling offset (24.8) for a pixel at offset
// (rx, ry) from the dab centre with amount k. The diffusions draw from `random`.
struct Offset {
    int32_t x;
    int32_t y;
};
using DisplacementOp = Offset (*)(const SlotValues& values, int32_t rx, int32_t ry, int32_t k, RandomState& random);
// Filter group: the new pixel at 24.8 position (x, y) of `image`.
using FilterOp = uint32_t (*)(const Image& image, const SlotValues& values, int32_t x, int32_t y, int32_t k);

// One mode: its code, its name (UTF-8) and the operation of its group; the
// other three operations are null.
struct BlendMode {
    int32_t code;
    std::string_view name;
    ColorOp color;
    HsbOp hsb;
    DisplacementOp displacement;
    FilterOp filter;
};

// The 24 modes in the order pens store them (blendIndex).
extern const std::array<BlendMode, kBlendModeCount> blendModes;

// The mode of a code (bits above 0xFFF ignored), or null: a code that names
// no mode changes no pixel.
const BlendMode* findBlendMode(int32_t code);
// The code of a pen's blendIndex; 0 (no mode) outside 0..23.
int32_t blendModeCode(int32_t blendIndex);

// The 24 names as 7-byte Shift-JIS fields, in blendModes order.
const NameList& blendModeNames();

// HSB group by code: D itself for k = 0 or a code outside 0x201..0x203.
uint32_t hsbShift(uint32_t d, int32_t k, int32_t code);
// Filter group by code (blur 0x401, mosaic 0x402); any other code gives 0.
uint32_t filterOp(const Image& image, const SlotValues& values, int32_t x, int32_t y, int32_t k, int32_t code);

// Colors built from the hue, saturation and brightness of two colors.
uint32_t takeHue(uint32_t a, uint32_t b);            // hue of b, the rest of a
uint32_t takeSaturation(uint32_t a, uint32_t b);     // saturation of b
uint32_t takeBrightness(uint32_t a, uint32_t b);     // brightness of b
uint32_t takeHueSaturation(uint32_t a, uint32_t b);  // hue and saturation of b

}  // namespace nelmora
