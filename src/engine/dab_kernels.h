#pragma once
// The per-row work of a dab, as one table of kernels per instruction-set
// level. The same source is compiled once per level; the table of the best
// level the CPU has is chosen once, at first use. NELMORA_SIMD=scalar|sse2|avx2
// forces a level (an unavailable one falls back to the best there is).

#include <cstdint>

#include "image/image.h"

namespace nelmora {

enum class SimdLevel { scalar = 0, sse2 = 1, avx2 = 2 };

// Per-dab constants of the color group.
struct ColorParams {
    uint32_t c1, c2;   // the two dab colors
    int32_t strength;  // 0..0xFFFF
    bool oneColor;    // c1 == c2: the dab color is the same for every pixel
    int32_t hue1, saturation1, brightness1;  // c1 converted once
    // The HSB modes of a two-color dab: the dab color's HSB by coverage.
    const int32_t* hueBy;
    const int32_t* saturationBy;
    const int32_t* brightnessBy;
};

// Per-dab constants of the displacement group.
struct DisplaceParams {
    int32_t x, y;          // dab centre, 24.8
    int32_t strength;
    int32_t pullX, pullY;  // Pull: the offset before scaling by the amount
    int32_t thickness;     // Diffuse2
};

// Per-dab constants of the filter group.
struct FilterParams {
    int32_t strength;
    int32_t u, w;  // Mosaic's sample offsets
};

// A row of a rotated dab, sampled as it is painted: pixel i takes the map
// byte at ((u + i du) >> 8, (v + i dv) >> 8) when that lies within
// width x height (with 32-bit wraparound), else 0. onMap: every pixel of
// the row lands on the map.
struct MapLanes {
    const uint8_t* map;
    int32_t stride, width, height;
    int32_t u, v, du, dv;
    bool onMap;
};

// The longest row run a kernel is given.
inline constexpr int32_t kMaxRun = 256;

// Diffuse1 keeps its second drawn value this far after the first.
inline constexpr int32_t kDrawnStride = kMaxRun;

// One row run: `count` pixels starting at image column `column` of row `row`.
// Displacement and filter kernels read `image` and write `out`; `drawn` holds
// what the diffusions drew beforehand for the covered pixels (Diffuse1: two
// values per pixel, cos and sin times thickness, kDrawnStride apart; Diffuse2: one).
struct DabKernels {
    SimdLevel level;
    // Pixels per vector step: a run of whole steps takes no scalar tail.
    int32_t lanes;
    // out[i] = map[(v + i dv) >> 8][(u + i du) >> 8]; every sample lies on
    // the map (u + i du and v + i dv do not wrap).
    void (*sampleMap)(const uint8_t* map, int32_t stride, int32_t u, int32_t v, int32_t du, int32_t dv,
                      int32_t count, uint8_t* out);
    // out[i] = row[(u + i du) >> 8]; every sample lies on the row, and
    // `readable` bytes from row on may be read.
    void (*sampleRun)(const uint8_t* row, int32_t readable, int32_t u, int32_t du, int32_t count, uint8_t* out);
    // hue[m], saturation[m], brightness[m]: the HSB of mixColor(c2, c1, m), m 0..255.
    void (*hsbByCoverage)(uint32_t c1, uint32_t c2, int32_t* hue, int32_t* saturation, int32_t* brightness);
    // Color modes by operation 1..14 (entry 0 unused).
    void (*color[15])(uint32_t* pixels, const uint8_t* coverage, int32_t count, const ColorParams& params);
    // Normal with the coverage sampled from the map as it paints (rotated
    // rows), or null where the level samples into a buffer first. The row
    // has `room` pixels from `pixels` on (count <= room); a step may run
    // past the count over them as uncovered pixels.
    void (*normalSampled)(uint32_t* pixels, const MapLanes& lanes, int32_t count, int32_t room,
                          const ColorParams& params);
    // HSB shifts by operation 1..3.
    void (*hsb[4])(uint32_t* pixels, const uint8_t* coverage, int32_t count, int32_t strength);
    // Displacements by operation 1..5.
    void (*displace[6])(const Image& image, uint32_t* out, const uint8_t* coverage, int32_t count, int32_t column,
                        int32_t row, const DisplaceParams& params, const int32_t* drawn);
    // Blur 1, Mosaic 2.
    void (*filter[3])(const Image& image, uint32_t* out, const uint8_t* coverage, int32_t count, int32_t column,
                      int32_t row, const FilterParams& params);
};

// The table in use.
const DabKernels& dabKernels();
// The table of a level, or null when this build or this CPU lacks it.
const DabKernels* dabKernelsFor(SimdLevel level);
// Switches the table in use (tests and benchmarks); false when unavailable.
bool setSimdLevel(SimdLevel level);
const char* simdLevelName(SimdLevel level);

}  // namespace nelmora
