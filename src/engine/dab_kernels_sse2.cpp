// The SSE2 level: the x86-64 baseline. Normal keeps its hand-written kernel
// (channels in 16-bit lanes); the other modes are vectorised by the compiler.
#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/blend_modes.h"
#include "engine/dab_kernels.h"

namespace nelmora::kernels_sse2 {
namespace {

// Color group, Normal: mixColor(D, color, alpha), the color itself a mix
// of the two dab colors by coverage; alpha 0 (also every uncovered pixel)
// leaves the pixel untouched. Bit-identical to mixColor, on channel pairs.
inline uint32_t normalPixel(uint32_t d, uint32_t m, uint32_t c1, uint32_t c2, bool oneColor, uint32_t strength)
{
    const uint32_t a = (m * strength) >> 16;
    if (a == 0) return d;
    uint32_t color = c1;
    if (!oneColor) {
        const uint32_t rb = ((c2 & 0xFF00FFu) * (256 - m) + (c1 & 0xFF00FFu) * m + 0x800080u) >> 8;
        const uint32_t g = ((c2 & 0xFF00u) * (256 - m) + (c1 & 0xFF00u) * m + 0x8000u) >> 8;
        color = (rb & 0xFF00FFu) | (g & 0xFF00u);
    }
    const uint32_t rb = ((d & 0xFF00FFu) * (256 - a) + (color & 0xFF00FFu) * a + 0x800080u) >> 8;
    const uint32_t g = ((d & 0xFF00u) * (256 - a) + (color & 0xFF00u) * a + 0x8000u) >> 8;
    return 0xFF000000u | (rb & 0xFF00FFu) | (g & 0xFF00u);
}

// (x * (256 - w) + y * w + 128) >> 8 on eight 16-bit lanes, as
// ((x << 8) + (y - x) * w + 128) >> 8: the true sum lies in 0..65408, so the
// lanes' wraparound arithmetic gives it exactly with one multiply.
inline __m128i mixLanes(__m128i x, __m128i y, __m128i w)
{
    const __m128i sum = _mm_add_epi16(_mm_slli_epi16(x, 8), _mm_mullo_epi16(_mm_sub_epi16(y, x), w));
    return _mm_srli_epi16(_mm_add_epi16(sum, _mm_set1_epi16(128)), 8);
}

// Four pixels at a time, one channel per 16-bit lane: the same arithmetic as
// normalPixel, which finishes the last pixels of the run.
int32_t normalRunSse2(uint32_t* pixels, const uint8_t* coverage, int32_t count, uint32_t c1, uint32_t c2,
                      bool oneColor, uint32_t strength)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i strengthLanes = _mm_set1_epi16(int16_t(uint16_t(strength)));
    const __m128i lowBytes = _mm_set1_epi32(0x00FFFFFF);
    const __m128i topByte = _mm_set1_epi32(int32_t(0xFF000000u));
    const __m128i color1 = _mm_unpacklo_epi8(_mm_set1_epi32(int32_t(c1)), zero);
    const __m128i color2 = _mm_unpacklo_epi8(_mm_set1_epi32(int32_t(c2)), zero);
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        int32_t fourBytes;
        std::memcpy(&fourBytes, coverage + i, 4);
        if (fourBytes == 0) continue;  // uncovered: the corners and the spare ring
        const __m128i m = _mm_unpacklo_epi8(_mm_cvtsi32_si128(fourBytes), zero);
        const __m128i a = _mm_mulhi_epu16(m, strengthLanes);  // (m * strength) >> 16
        const __m128i aPairs = _mm_unpacklo_epi16(a, a);
        const __m128i aLow = _mm_unpacklo_epi32(aPairs, aPairs), aHigh = _mm_unpackhi_epi32(aPairs, aPairs);
        __m128i colorLow = color1, colorHigh = color1;
        if (!oneColor) {
            const __m128i mPairs = _mm_unpacklo_epi16(m, m);
            colorLow = mixLanes(color2, color1, _mm_unpacklo_epi32(mPairs, mPairs));
            colorHigh = mixLanes(color2, color1, _mm_unpackhi_epi32(mPairs, mPairs));
        }
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i));
        const __m128i mixed = _mm_packus_epi16(mixLanes(_mm_unpacklo_epi8(d, zero), colorLow, aLow),
                                               mixLanes(_mm_unpackhi_epi8(d, zero), colorHigh, aHigh));
        // Alpha 0 keeps the old top byte, any other alpha writes 0xFF there.
        const __m128i keep = _mm_cmpeq_epi32(_mm_unpacklo_epi16(a, zero), zero);
        const __m128i top = _mm_or_si128(_mm_andnot_si128(keep, topByte), _mm_and_si128(keep, _mm_andnot_si128(lowBytes, d)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), _mm_or_si128(_mm_and_si128(mixed, lowBytes), top));
    }
    return i;
}

void normalRun(uint32_t* pixels, const uint8_t* coverage, int32_t count, const ColorParams& params)
{
    const uint32_t strength = uint32_t(params.strength);
    int32_t i = normalRunSse2(pixels, coverage, count, params.c1, params.c2, params.oneColor, strength);
    for (; i < count; ++i)
        if (coverage[i] != 0)
            pixels[i] = normalPixel(pixels[i], coverage[i], params.c1, params.c2, params.oneColor, strength);
}

// Four bilinear samples at a time, for images of at least 2 x 2 pixels: each
// sample's two pixels of a row are one 64-bit load, and the three mixColor
// steps run on 16-bit channel lanes. count is a multiple of 4.
void bilinearSse2(const uint32_t* pixels, int32_t stride, int32_t width, int32_t height, const int32_t* xs,
                  const int32_t* ys, int32_t count, uint32_t* out)
{
    const __m128i zero = _mm_setzero_si128(), fraction = _mm_set1_epi32(0xFF);
    const __m128i topByte = _mm_set1_epi32(int32_t(0xFF000000u));
    for (int32_t i = 0; i < count; i += 4) {
        __m128i up[4], down[4];
        for (int32_t j = 0; j < 4; ++j) {
            const int32_t ix = std::min(std::max(xs[i + j] >> 8, 0), width - 2);
            const int32_t iy = std::min(std::max(ys[i + j] >> 8, 0), height - 2);
            const uint32_t* at = pixels + size_t(iy) * size_t(stride) + size_t(ix);
            up[j] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at));
            down[j] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at + stride));
        }
        const __m128 up01 = _mm_castsi128_ps(_mm_unpacklo_epi64(up[0], up[1]));
        const __m128 up23 = _mm_castsi128_ps(_mm_unpacklo_epi64(up[2], up[3]));
        const __m128 down01 = _mm_castsi128_ps(_mm_unpacklo_epi64(down[0], down[1]));
        const __m128 down23 = _mm_castsi128_ps(_mm_unpacklo_epi64(down[2], down[3]));
        const __m128i upLeft = _mm_castps_si128(_mm_shuffle_ps(up01, up23, _MM_SHUFFLE(2, 0, 2, 0)));
        const __m128i upRight = _mm_castps_si128(_mm_shuffle_ps(up01, up23, _MM_SHUFFLE(3, 1, 3, 1)));
        const __m128i downLeft = _mm_castps_si128(_mm_shuffle_ps(down01, down23, _MM_SHUFFLE(2, 0, 2, 0)));
        const __m128i downRight = _mm_castps_si128(_mm_shuffle_ps(down01, down23, _MM_SHUFFLE(3, 1, 3, 1)));
        const __m128i fx = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(xs + i)), fraction);
        const __m128i fy = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(ys + i)), fraction);
        const __m128i wx = _mm_or_si128(fx, _mm_slli_epi32(fx, 16)), wy = _mm_or_si128(fy, _mm_slli_epi32(fy, 16));
        const __m128i wxLow = _mm_unpacklo_epi32(wx, wx), wxHigh = _mm_unpackhi_epi32(wx, wx);
        const __m128i wyLow = _mm_unpacklo_epi32(wy, wy), wyHigh = _mm_unpackhi_epi32(wy, wy);
        const __m128i low =
            mixLanes(mixLanes(_mm_unpacklo_epi8(upLeft, zero), _mm_unpacklo_epi8(upRight, zero), wxLow),
                     mixLanes(_mm_unpacklo_epi8(downLeft, zero), _mm_unpacklo_epi8(downRight, zero), wxLow), wyLow);
        const __m128i high =
            mixLanes(mixLanes(_mm_unpackhi_epi8(upLeft, zero), _mm_unpackhi_epi8(upRight, zero), wxHigh),
                     mixLanes(_mm_unpackhi_epi8(downLeft, zero), _mm_unpackhi_epi8(downRight, zero), wxHigh), wyHigh);
        // Only both weights 0 keep the top-left pixel's top byte.
        const __m128i still = _mm_cmpeq_epi32(_mm_or_si128(fx, fy), zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_or_si128(_mm_packus_epi16(low, high), _mm_andnot_si128(still, topByte)));
    }
}

// Bilinear samples at one fraction along a row (Mosaic), four at a time on
// 16-bit channel lanes; the last ones one at a time in the same lanes.
void bilinearAlongRowSse2(const uint32_t* upper, int32_t stride, int32_t fx, int32_t fy, int32_t count,
                          uint32_t* out)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i wx = _mm_set1_epi16(int16_t(fx)), wy = _mm_set1_epi16(int16_t(fy));
    // Only both weights 0 keep the top-left pixel's top byte.
    const __m128i top = (fx | fy) != 0 ? _mm_set1_epi32(int32_t(0xFF000000u)) : zero;
    const uint32_t* lower = upper + stride;
    auto mixed = [&](__m128i ul, __m128i ur, __m128i dl, __m128i dr, bool high) {
        auto widen = [&](__m128i v) { return high ? _mm_unpackhi_epi8(v, zero) : _mm_unpacklo_epi8(v, zero); };
        return mixLanes(mixLanes(widen(ul), widen(ur), wx), mixLanes(widen(dl), widen(dr), wx), wy);
    };
    auto load = [](const uint32_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i ul = load(upper + i), ur = load(upper + i + 1), dl = load(lower + i), dr = load(lower + i + 1);
        const __m128i result = _mm_packus_epi16(mixed(ul, ur, dl, dr, false), mixed(ul, ur, dl, dr, true));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_or_si128(result, top));
    }
    for (; i < count; ++i) {
        auto one = [](const uint32_t* at) { return _mm_cvtsi32_si128(int32_t(*at)); };
        const __m128i m = mixed(one(upper + i), one(upper + i + 1), one(lower + i), one(lower + i + 1), false);
        out[i] = uint32_t(_mm_cvtsi128_si32(_mm_or_si128(_mm_packus_epi16(m, m), top)));
    }
}

// One pixel at a time, stepping u (and v): vectorised, these loops would
// emulate 32-bit multiplies and byte gathers and lose to the plain loops.
#if defined(__GNUC__) && !defined(__clang__)
#define NELMORA_NO_VECTORIZE __attribute__((optimize("no-tree-vectorize")))
#else
#define NELMORA_NO_VECTORIZE
#endif

NELMORA_NO_VECTORIZE void sampleMapStepping(const uint8_t* map, int32_t stride, int32_t u, int32_t v, int32_t du,
                                            int32_t dv, int32_t count, uint8_t* out)
{
#if defined(__clang__)
#pragma clang loop vectorize(disable)
#endif
    for (int32_t i = 0; i < count; ++i, u += du, v += dv) out[i] = map[(v >> 8) * stride + (u >> 8)];
}

NELMORA_NO_VECTORIZE void sampleRunStepping(const uint8_t* row, int32_t, int32_t u, int32_t du, int32_t count,
                                            uint8_t* out)
{
#if defined(__clang__)
#pragma clang loop vectorize(disable)
#endif
    for (int32_t i = 0; i < count; ++i, u += du) out[i] = row[u >> 8];
}

// Where the 4-lane form of an HSB shift loses to the per-pixel operation with
// its early exits (greys, unchanged pixels), SSE2 uses the operation itself.
template <int32_t Code>
void hsbShiftPerPixel(uint32_t* pixels, const uint8_t* coverage, int32_t count, int32_t strength)
{
    static const HsbOp shift = findBlendMode(Code)->hsb;
    for (int32_t i = 0; i < count; ++i)
        if (coverage[i] != 0) pixels[i] = shift(pixels[i], int32_t(uint32_t(coverage[i]) * uint32_t(strength)) >> 8);
}

}  // namespace
}  // namespace nelmora::kernels_sse2

#define NELMORA_KERNEL_LANES 4
#define NELMORA_KERNEL_NS kernels_sse2
#define NELMORA_KERNEL_LEVEL SimdLevel::sse2
#define NELMORA_KERNEL_NORMAL normalRun
#define NELMORA_KERNEL_BILINEAR bilinearSse2
#define NELMORA_KERNEL_BILINEAR_ROW bilinearAlongRowSse2
#define NELMORA_KERNEL_SAMPLE sampleMapStepping
#define NELMORA_KERNEL_SAMPLE_RUN sampleRunStepping
#define NELMORA_KERNEL_SATURATION_SHIFT hsbShiftPerPixel<0x202>
#define NELMORA_KERNEL_BRIGHTNESS_SHIFT hsbShiftPerPixel<0x203>
#include "engine/dab_kernels_impl.h"
