// The AVX2 level: built with -mavx2 and only ever called after the CPU
// reported AVX2. The map sampling and the bilinear reads are written by
// hand, and Normal, the mode most dabs use; the rest is the shared source,
// vectorised by the compiler.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "engine/dab_kernels.h"

namespace nelmora::kernels_avx2 {
namespace {

// The map positions in vector lanes, eight at a time, then one plain byte
// load each: every sample lies on the map, so nothing is masked, and plain
// loads run as fast as 8-lane gathers here. Positions for a whole run come
// first, so the loads never wait on a vector lane extract.
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("no-tree-vectorize")))
#endif
void sampleMapAvx2(const uint8_t* map, int32_t stride, int32_t u, int32_t v, int32_t du, int32_t dv, int32_t count,
                   uint8_t* out)
{
    alignas(32) int32_t at[kMaxRun + 8];
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i uu = _mm256_add_epi32(_mm256_set1_epi32(u), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(du)));
    __m256i vv = _mm256_add_epi32(_mm256_set1_epi32(v), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(dv)));
    const __m256i stepU = _mm256_set1_epi32(int32_t(uint32_t(du) * 8u));
    const __m256i stepV = _mm256_set1_epi32(int32_t(uint32_t(dv) * 8u));
    const __m256i strideLanes = _mm256_set1_epi32(stride);
    for (int32_t done = 0; done < count; done += kMaxRun) {
        const int32_t n = count - done < kMaxRun ? count - done : kMaxRun;
        // Lanes past the end compute positions that are never read.
        for (int32_t i = 0; i < n; i += 8) {
            _mm256_store_si256(reinterpret_cast<__m256i*>(at + i),
                               _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(vv, 8), strideLanes),
                                                _mm256_srai_epi32(uu, 8)));
            uu = _mm256_add_epi32(uu, stepU);
            vv = _mm256_add_epi32(vv, stepV);
        }
        // Eight bytes a store: the kernels read the samples back in wide
        // loads, which byte stores would keep waiting.
        int32_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t eight = 0;
            for (int32_t j = 0; j < 8; ++j) eight |= uint64_t(map[at[i + j]]) << (8 * j);
            std::memcpy(out + done + i, &eight, 8);
        }
        for (; i < n; ++i) out[done + i] = map[at[i]];
    }
}

// One map row. Scaled up by more than 16/15 (du <= 240), sixteen pixels
// read at most sixteen consecutive map bytes: one load and one byte shuffle,
// the shuffle's indices (frac + k du) >> 8 from the step's fractional start.
// Otherwise, and where sixteen bytes are not readable, the map sampler.
void sampleRunAvx2(const uint8_t* row, int32_t readable, int32_t u, int32_t du, int32_t count, uint8_t* out)
{
    int32_t i = 0;
    if (du > 0 && du <= 240) {
        const __m256i steps = _mm256_mullo_epi16(
            _mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15), _mm256_set1_epi16(int16_t(du)));
        for (; i + 16 <= count; i += 16) {
            const int32_t at = u + i * du;
            const int32_t first = at >> 8;
            if (first + 16 > readable) break;
            const __m256i offsets =
                _mm256_srli_epi16(_mm256_add_epi16(steps, _mm256_set1_epi16(int16_t(at & 0xFF))), 8);
            const __m128i indices =
                _mm_packus_epi16(_mm256_castsi256_si128(offsets), _mm256_extracti128_si256(offsets, 1));
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + first));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_shuffle_epi8(bytes, indices));
        }
    }
    if (i < count) sampleMapAvx2(row, 0, u + i * du, 0, du, 0, count - i, out + i);
}

// (x * (256 - w) + y * w + 128) >> 8 per 16-bit lane, as
// ((x << 8) + (y - x) * w + 128) >> 8: the true sum lies in 0..65408, so the
// lanes' wraparound arithmetic gives it exactly.
inline __m256i mixLanes(__m256i x, __m256i y, __m256i w)
{
    const __m256i sum = _mm256_add_epi16(_mm256_slli_epi16(x, 8), _mm256_mullo_epi16(_mm256_sub_epi16(y, x), w));
    return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(128)), 8);
}

// Color group, Normal, eight pixels a step with one channel per 16-bit lane:
// mixColor(D, color, alpha), the color itself a mix of the two dab colors by
// coverage; alpha 0 (also every uncovered pixel) leaves the pixel untouched.
class NormalSteps {
public:
    explicit NormalSteps(const ColorParams& params)
        : strength_(_mm256_set1_epi32(params.strength & 0xFFFF)),
          color1_(_mm256_unpacklo_epi8(_mm256_set1_epi32(int32_t(params.c1)), _mm256_setzero_si256())),
          color2_(_mm256_unpacklo_epi8(_mm256_set1_epi32(int32_t(params.c2)), _mm256_setzero_si256())),
          oneColor_(params.oneColor)
    {
    }

    // Eight pixels at `pixels` with the coverage bytes of `eight`.
    inline void apply(uint32_t* pixels, uint64_t eight) const
    {
        const __m256i zero = _mm256_setzero_si256();
        const __m256i m = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(int64_t(eight)));
        const __m256i a = _mm256_mulhi_epu16(m, strength_);  // (m * strength) >> 16
        // Each pixel's weight on its four channel lanes, in the order the
        // byte unpacks below put the pixels (0 1 4 5, then 2 3 6 7).
        const __m256i aPairs = _mm256_or_si256(a, _mm256_slli_epi32(a, 16));
        const __m256i aLow = _mm256_unpacklo_epi32(aPairs, aPairs), aHigh = _mm256_unpackhi_epi32(aPairs, aPairs);
        __m256i colorLow = color1_, colorHigh = color1_;
        if (!oneColor_) {
            const __m256i mPairs = _mm256_or_si256(m, _mm256_slli_epi32(m, 16));
            colorLow = mixLanes(color2_, color1_, _mm256_unpacklo_epi32(mPairs, mPairs));
            colorHigh = mixLanes(color2_, color1_, _mm256_unpackhi_epi32(mPairs, mPairs));
        }
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels));
        const __m256i mixed = _mm256_packus_epi16(mixLanes(_mm256_unpacklo_epi8(d, zero), colorLow, aLow),
                                                  mixLanes(_mm256_unpackhi_epi8(d, zero), colorHigh, aHigh));
        // Alpha 0 keeps the old top byte, any other alpha writes 0xFF there.
        const __m256i keep = _mm256_cmpeq_epi32(a, zero);
        const __m256i topByte = _mm256_set1_epi32(int32_t(0xFF000000u));
        const __m256i result = _mm256_blendv_epi8(_mm256_or_si256(mixed, topByte), d, keep);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), result);
    }

    // The last `count` (< 8) pixels of a row, through a step padded with
    // uncovered ones.
    inline void applyPadded(uint32_t* pixels, uint64_t eight, int32_t count) const
    {
        uint32_t padded[8] = {};
        std::memcpy(padded, pixels, size_t(count) * 4);
        apply(padded, eight);
        std::memcpy(pixels, padded, size_t(count) * 4);
    }

private:
    __m256i strength_, color1_, color2_;
    bool oneColor_;
};

void normalRunAvx2(uint32_t* pixels, const uint8_t* coverage, int32_t count, const ColorParams& params)
{
    const NormalSteps steps(params);
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t eight;
        std::memcpy(&eight, coverage + i, 8);
        if (eight != 0) steps.apply(pixels + i, eight);  // uncovered: the corners and the spare ring
    }
    if (i == count) return;
    uint64_t eight = 0;
    std::memcpy(&eight, coverage + i, size_t(count - i));
    if (eight != 0) steps.applyPadded(pixels + i, eight, count - i);
}

// Normal along a rotated row, sampling the map as it paints: no pass over a
// buffer of samples, and steps of eight uncovered pixels cost their loads
// only. The positions of a stretch of the row come first, from vector
// lanes, so the loads never wait on a lane extract.
template <bool kChecked>
void normalSampledSteps(uint32_t* pixels, const MapLanes& l, int32_t count, int32_t room, const NormalSteps& steps)
{
    const uint8_t* const map = l.map;
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i uu = _mm256_add_epi32(_mm256_set1_epi32(l.u), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(l.du)));
    __m256i vv = _mm256_add_epi32(_mm256_set1_epi32(l.v), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(l.dv)));
    const __m256i stepU = _mm256_set1_epi32(int32_t(uint32_t(l.du) * 8u));
    const __m256i stepV = _mm256_set1_epi32(int32_t(uint32_t(l.dv) * 8u));
    const __m256i stride = _mm256_set1_epi32(l.stride);
    const __m256i width = _mm256_set1_epi32(l.width), height = _mm256_set1_epi32(l.height);
    const __m256i minus1 = _mm256_set1_epi32(-1);
    // Map offsets, and (checked rows) 0xFF where the pixel lands on the map;
    // off the map the offset is 0 and the byte read there is dropped.
    alignas(32) int32_t at[kMaxRun];
    alignas(32) uint8_t keep[kMaxRun + 32];
    for (int32_t done = 0; done < count; done += kMaxRun) {
        const int32_t n = count - done < kMaxRun ? count - done : kMaxRun;
        for (int32_t i = 0; i < n; i += 8) {
            const __m256i mu = _mm256_srai_epi32(uu, 8), mv = _mm256_srai_epi32(vv, 8);
            __m256i where = _mm256_add_epi32(_mm256_mullo_epi32(mv, stride), mu);
            if (kChecked) {
                const __m256i inside = _mm256_and_si256(
                    _mm256_and_si256(_mm256_cmpgt_epi32(mu, minus1), _mm256_cmpgt_epi32(width, mu)),
                    _mm256_and_si256(_mm256_cmpgt_epi32(mv, minus1), _mm256_cmpgt_epi32(height, mv)));
                where = _mm256_and_si256(where, inside);
                const __m128i words =
                    _mm_packs_epi32(_mm256_castsi256_si128(inside), _mm256_extracti128_si256(inside, 1));
                _mm_storel_epi64(reinterpret_cast<__m128i*>(keep + i), _mm_packs_epi16(words, words));
            }
            _mm256_store_si256(reinterpret_cast<__m256i*>(at + i), where);
            uu = _mm256_add_epi32(uu, stepU);
            vv = _mm256_add_epi32(vv, stepV);
        }
        uint32_t* row = pixels + done;
        auto sample = [&](int32_t i, int32_t use) {
            uint64_t eight = 0;
            for (int32_t j = 0; j < use; ++j) eight |= uint64_t(map[at[i + j]]) << (8 * j);
            if (kChecked) {
                uint64_t mask;
                std::memcpy(&mask, keep + i, 8);
                eight &= mask;
            }
            return eight;
        };
        int32_t i = 0;
        for (; i + 8 <= n; i += 8) {
            const uint64_t eight = sample(i, 8);
            if (eight != 0) steps.apply(row + i, eight);
        }
        if (i == n) continue;
        const int32_t use = n - i;
        const uint64_t eight = sample(i, use);
        if (eight == 0) continue;
        // The last pixels: a whole step over the row's next pixels, left
        // uncovered, where the row has them.
        if (done + i + 8 <= room)
            steps.apply(row + i, eight);
        else
            steps.applyPadded(row + i, eight, use);
    }
}

void normalSampledAvx2(uint32_t* pixels, const MapLanes& lanes, int32_t count, int32_t room,
                       const ColorParams& params)
{
    const NormalSteps steps(params);
    if (lanes.onMap)
        normalSampledSteps<false>(pixels, lanes, count, room, steps);
    else
        normalSampledSteps<true>(pixels, lanes, count, room, steps);
}

// The pixel pairs at a, b, c, d (two 32-bit pixels each) as one vector.
inline __m256 twoPairs(const uint32_t* row, int32_t a, int32_t b, int32_t c, int32_t d)
{
    auto pair = [&](int32_t x, int32_t y) {
        const __m128d low = _mm_castsi128_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + x)));
        return _mm_castpd_ps(_mm_loadh_pd(low, reinterpret_cast<const double*>(row + y)));
    };
    return _mm256_setr_m128(pair(a, b), pair(c, d));
}

// Eight bilinear samples at a time, for images of at least 2 x 2 pixels (so
// the pixel right of and below every clamped position exists): each sample's
// two pixels of a row are one 64-bit load (faster than gathers here), and the three
// mixColor steps run on 16-bit channel lanes. count is a multiple of 8.
void bilinearAvx2(const uint32_t* pixels, int32_t stride, int32_t width, int32_t height, const int32_t* xs,
                  const int32_t* ys, int32_t count, uint32_t* out)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i maxX = _mm256_set1_epi32(width - 2), maxY = _mm256_set1_epi32(height - 2);
    const __m256i strideLanes = _mm256_set1_epi32(stride), fraction = _mm256_set1_epi32(0xFF);
    const __m256i topByte = _mm256_set1_epi32(int32_t(0xFF000000u));
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    for (int32_t i = 0; i < count; i += 8) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(xs + i));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(ys + i));
        const __m256i ix = _mm256_min_epi32(_mm256_max_epi32(_mm256_srai_epi32(x, 8), zero), maxX);
        const __m256i iy = _mm256_min_epi32(_mm256_max_epi32(_mm256_srai_epi32(y, 8), zero), maxY);
        alignas(32) int32_t at[8];
        const __m256i atLanes = _mm256_add_epi32(_mm256_mullo_epi32(iy, strideLanes), ix);
        _mm256_store_si256(reinterpret_cast<__m256i*>(at), atLanes);
        __m256i upLeft, upRight, downLeft, downRight;
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(atLanes, _mm256_add_epi32(_mm256_set1_epi32(at[0]), lanes))) ==
            -1) {
            // Eight neighbours along one row (a blur's or a pull's steady
            // offset): the same pixels as the pairs below, in four loads.
            const uint32_t* upper = pixels + at[0];
            upLeft = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper));
            upRight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + 1));
            downLeft = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + stride));
            downRight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + stride + 1));
        } else {
            // Samples 0 1 4 5 in one vector and 2 3 6 7 in the other make the
            // deinterleave below come out in sample order.
            const __m256 up0 = twoPairs(pixels, at[0], at[1], at[4], at[5]);
            const __m256 up1 = twoPairs(pixels, at[2], at[3], at[6], at[7]);
            const __m256 down0 = twoPairs(pixels + stride, at[0], at[1], at[4], at[5]);
            const __m256 down1 = twoPairs(pixels + stride, at[2], at[3], at[6], at[7]);
            upLeft = _mm256_castps_si256(_mm256_shuffle_ps(up0, up1, _MM_SHUFFLE(2, 0, 2, 0)));
            upRight = _mm256_castps_si256(_mm256_shuffle_ps(up0, up1, _MM_SHUFFLE(3, 1, 3, 1)));
            downLeft = _mm256_castps_si256(_mm256_shuffle_ps(down0, down1, _MM_SHUFFLE(2, 0, 2, 0)));
            downRight = _mm256_castps_si256(_mm256_shuffle_ps(down0, down1, _MM_SHUFFLE(3, 1, 3, 1)));
        }
        const __m256i fx = _mm256_and_si256(x, fraction), fy = _mm256_and_si256(y, fraction);
        // Each weight in both 16-bit halves of its lane, then per pixel pair.
        const __m256i wx = _mm256_or_si256(fx, _mm256_slli_epi32(fx, 16));
        const __m256i wy = _mm256_or_si256(fy, _mm256_slli_epi32(fy, 16));
        const __m256i wxLow = _mm256_unpacklo_epi32(wx, wx), wxHigh = _mm256_unpackhi_epi32(wx, wx);
        const __m256i wyLow = _mm256_unpacklo_epi32(wy, wy), wyHigh = _mm256_unpackhi_epi32(wy, wy);
        const __m256i low = mixLanes(
            mixLanes(_mm256_unpacklo_epi8(upLeft, zero), _mm256_unpacklo_epi8(upRight, zero), wxLow),
            mixLanes(_mm256_unpacklo_epi8(downLeft, zero), _mm256_unpacklo_epi8(downRight, zero), wxLow), wyLow);
        const __m256i high = mixLanes(
            mixLanes(_mm256_unpackhi_epi8(upLeft, zero), _mm256_unpackhi_epi8(upRight, zero), wxHigh),
            mixLanes(_mm256_unpackhi_epi8(downLeft, zero), _mm256_unpackhi_epi8(downRight, zero), wxHigh), wyHigh);
        // mixColor keeps the whole first pixel at weight 0 and writes 0xFF
        // on top otherwise: only both weights 0 keep the top-left's top byte.
        const __m256i still = _mm256_cmpeq_epi32(_mm256_or_si256(fx, fy), zero);
        const __m256i result = _mm256_or_si256(_mm256_packus_epi16(low, high), _mm256_andnot_si256(still, topByte));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), result);
    }
}

}  // namespace
}  // namespace nelmora::kernels_avx2

#define NELMORA_KERNEL_LANES 8
#define NELMORA_KERNEL_NS kernels_avx2
#define NELMORA_KERNEL_LEVEL SimdLevel::avx2
#define NELMORA_KERNEL_SAMPLE sampleMapAvx2
#define NELMORA_KERNEL_SAMPLE_RUN sampleRunAvx2
#define NELMORA_KERNEL_BILINEAR bilinearAvx2
#define NELMORA_KERNEL_NORMAL normalRunAvx2
#define NELMORA_KERNEL_NORMAL_SAMPLED normalSampledAvx2
#include "engine/dab_kernels_impl.h"
