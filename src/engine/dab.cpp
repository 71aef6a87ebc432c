#include "engine/dab.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/blend_modes.h"
#include "engine/color.h"
#include "engine/wrap_int.h"
#include "image/tables.h"

namespace nelmora {

namespace {

// n pixels in 24.8. Past the 8M pixels that 24.8 can address, the box stops
// at the last whole pixel that fits instead of overflowing.
inline int32_t toFixed(int32_t n) { return n > 0x7FFFFF ? 0x7FFFFF00 : n * 256; }

// F(a): a rounded down to a whole pixel.
inline int32_t wholePixel(int32_t a) { return a & ~0xFF; }

inline int32_t clampUnit(int32_t v) { return std::clamp(v, 0, 0xFFFF); }

// Where the stamp lands and how image pixels map back into the shape map.
struct DabWalk {
    int32_t left, top, right, bottom;  // 24.8 box, clipped to the image
    int32_t x, y;                      // dab centre after placement
    int32_t scale, cosA, sinA;
    int32_t du, dv;                    // map step per image pixel along a row
    int32_t centerX, centerY;

    // Exact map coordinates at the first pixel of row py; the row then
    // advances by du, dv.
    int32_t rowU(int32_t py) const
    {
        const int32_t rx = wrapSub(left, x), ry = wrapSub(py, y);
        return wrapAdd(wrapAdd(wrapMul(rx, cosA), wrapMul(ry, sinA)) / scale, centerX);
    }
    int32_t rowV(int32_t py) const
    {
        const int32_t rx = wrapSub(left, x), ry = wrapSub(py, y);
        return wrapAdd(wrapAdd(wrapMul(wrapNeg(rx), sinA), wrapMul(ry, cosA)) / scale, centerY);
    }
    int32_t columns() const { return (right - left) >> 8; }
    int32_t rows() const { return (bottom - top) >> 8; }
};

inline int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
inline int64_t ceilDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) == (b < 0)) ? q + 1 : q;
}

// The coverage of a run of pixels of one row: coverage[k] belongs to pixel
// first + k of the chunk. Pixels of the chunk outside the run have coverage 0.
struct CoverageRun {
    const uint8_t* coverage;
    int32_t first;
    int32_t count;
};

// Samples `count` pixels of a row, nearest neighbour, into `buffer` (or points
// into the map). usableWidth and usableHeight are the map size (color group)
// or one less (the other groups never use the last column and row).
// Unrotated rows (dv = 0) stay on one map row: only the pixels that land on
// it are sampled, and at thickness 1.0 (du = 256) the map row itself is used.
CoverageRun sampleRow(const ShapeMap& shape, int32_t usableWidth, int32_t usableHeight, int32_t& u, int32_t& v,
                      int32_t du, int32_t dv, int32_t count, uint8_t* buffer)
{
    if (dv != 0) {
        for (int32_t i = 0; i < count; ++i) {
            const int32_t mu = u >> 8, mv = v >> 8;
            const bool inside = uint32_t(mu) < uint32_t(usableWidth) && uint32_t(mv) < uint32_t(usableHeight);
            buffer[i] = inside ? shape.coverage[mv * shape.stride + mu] : 0;
            u = wrapAdd(u, du);
            v = wrapAdd(v, dv);
        }
        return {buffer, 0, count};
    }
    const int32_t mv = v >> 8;
    const int32_t start = u;
    u = int32_t(uint32_t(u) + uint32_t(du) * uint32_t(count));
    if (uint32_t(mv) >= uint32_t(usableHeight)) return {buffer, 0, 0};
    const uint8_t* row = shape.coverage + size_t(mv) * size_t(shape.stride);
    // The pixels i with 0 <= start + i * du <= usableWidth * 256 - 1 form one
    // run (u does not wrap within it).
    const int64_t low = -int64_t(start), high = int64_t(usableWidth) * 256 - 1 - int64_t(start);
    int64_t from = 0, to = count;
    if (du > 0) {
        from = ceilDiv(low, du);
        to = floorDiv(high, du) + 1;
    } else if (du < 0) {
        from = ceilDiv(high, du);
        to = floorDiv(low, du) + 1;
    } else if (low > 0 || high < 0) {
        to = 0;
    }
    const int32_t first = int32_t(std::clamp<int64_t>(from, 0, count));
    const int32_t last = int32_t(std::clamp<int64_t>(to, first, count));
    if (du == 256) return {row + ((start >> 8) + first), first, last - first};
    int64_t w = int64_t(start) + int64_t(first) * du;
    for (int32_t i = first; i < last; ++i, w += du) buffer[i] = row[w >> 8];
    return {buffer + first, first, last - first};
}

constexpr int32_t kChunk = 256;

// Calls visitChunk(row, firstColumn, coverage, count) for every run of up to
// kChunk pixels of every row of the box that the shape may cover.
template <typename VisitChunk>
void walkRows(const ShapeMap& shape, const DabWalk& walk, bool lastColumnUsed, VisitChunk visitChunk)
{
    const int32_t usableWidth = lastColumnUsed ? shape.width : shape.width - 1;
    const int32_t usableHeight = lastColumnUsed ? shape.height : shape.height - 1;
    uint8_t buffer[kChunk];
    const int32_t columns = walk.columns();
    for (int32_t py = walk.top; py < walk.bottom; py += 256) {
        int32_t u = walk.rowU(py), v = walk.rowV(py);
        const int32_t row = py >> 8;
        for (int32_t first = 0; first < columns; first += kChunk) {
            const int32_t count = std::min(kChunk, columns - first);
            const CoverageRun run = sampleRow(shape, usableWidth, usableHeight, u, v, walk.du, walk.dv, count, buffer);
            if (run.count > 0) visitChunk(row, (walk.left >> 8) + first + run.first, run.coverage, run.count);
        }
    }
}

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

#if defined(__SSE2__)
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
#endif

void normalRun(uint32_t* pixels, const uint8_t* coverage, int32_t count, uint32_t c1, uint32_t c2,
               uint32_t strength)
{
    const bool oneColor = c1 == c2;
    int32_t i = 0;
#if defined(__SSE2__)
    i = normalRunSse2(pixels, coverage, count, c1, c2, oneColor, strength);
#endif
    for (; i < count; ++i) pixels[i] = normalPixel(pixels[i], coverage[i], c1, c2, oneColor, strength);
}

void drawColorGroup(Image& image, const ShapeMap& shape, SlotValues& values, int32_t code, const DabWalk& walk)
{
    for (int i : {slot::saturation1, slot::brightness1, slot::saturation2, slot::brightness2, slot::strength})
        values[size_t(i)] = clampUnit(values[size_t(i)]);
    const BlendMode* mode = findBlendMode(code);
    if (!mode || !mode->color) return;
    const bool isNormal = mode->code == 0x101;
    const uint32_t c1 = hsbToRgb(values[slot::hue1] & 0xFFFF, values[slot::saturation1], values[slot::brightness1]);
    const uint32_t c2 = hsbToRgb(values[slot::hue2] & 0xFFFF, values[slot::saturation2], values[slot::brightness2]);
    const int32_t strength = values[slot::strength];
    const ColorOp blend = mode->color;
    walkRows(shape, walk, true, [&](int32_t row, int32_t column, const uint8_t* coverage, int32_t count) {
        uint32_t* pixels = image.pixels + size_t(row) * size_t(image.stride) + size_t(column);
        if (isNormal) return normalRun(pixels, coverage, count, c1, c2, uint32_t(strength));
        for (int32_t i = 0; i < count; ++i) {
            const int32_t m = coverage[i];
            if (m == 0) continue;
            const uint32_t color = c1 == c2 ? c1 : mixColor(c2, c1, m);
            pixels[i] = blend(pixels[i], color, (m * strength) >> 16);
        }
    });
}

void drawHsbGroup(Image& image, const ShapeMap& shape, const SlotValues& values, HsbOp shift, const DabWalk& walk)
{
    const int32_t strength = values[slot::strength];
    walkRows(shape, walk, false, [&](int32_t row, int32_t column, const uint8_t* coverage, int32_t count) {
        uint32_t* pixels = image.pixels + size_t(row) * size_t(image.stride) + size_t(column);
        for (int32_t i = 0; i < count; ++i)
            if (coverage[i] != 0) pixels[i] = shift(pixels[i], wrapMul(coverage[i], strength) >> 8);
    });
}

// Displacement and filter groups compute into the scratch image while they
// read the image as it was before the dab, then copy the box back.
template <typename NewPixel>
void drawThroughScratch(Image& image, const ShapeMap& shape, const DabWalk& walk, int32_t strength,
                        NewPixel newPixel)
{
    const int32_t columns = walk.columns(), rows = walk.rows();
    if (columns <= 0 || rows <= 0) return;
    Image* scratch = scratchImageOfSize(columns, rows);
    if (!scratch) return;
    const int32_t left = walk.left >> 8, top = walk.top >> 8;
    copyRect(image, *scratch, left, top, columns, rows, 0, 0);
    walkRows(shape, walk, false, [&](int32_t row, int32_t column, const uint8_t* coverage, int32_t count) {
        uint32_t* out = scratch->pixels + size_t(row - top) * size_t(scratch->stride) + size_t(column - left);
        const int32_t py = row << 8;
        for (int32_t i = 0; i < count; ++i)
            if (coverage[i] != 0) out[i] = newPixel((column + i) << 8, py, wrapMul(coverage[i], strength) >> 8);
    });
    copyRect(*scratch, image, 0, 0, columns, rows, left, top);
}

}  // namespace

int32_t drawDab(Image& image, const ShapeMap& shape, SlotValues& values, int32_t code, int32_t x, int32_t y,
                RandomState& random)
{
    const int32_t angle = values[slot::angle] & 0xFFFF;
    const int32_t scale = std::min(values[slot::thickness] >> 8, 0xFFFF);

    const int32_t placementAngle = values[slot::placementAngle] & 0xFFFF;
    const int32_t placement = values[slot::placement];
    x = wrapAdd(x, wrapMul(sinTable()[placementAngle], placement) >> 8);
    y = wrapSub(y, wrapMul(cosTable()[placementAngle], placement) >> 8);
    if (scale <= 0) return 0;

    DabWalk walk{};
    walk.x = x;
    walk.y = y;
    walk.scale = scale;
    walk.cosA = cosTable()[angle];
    walk.sinA = sinTable()[angle];
    walk.centerX = shape.centerX;
    walk.centerY = shape.centerY;
    const int32_t mapRight = wrapSub(wrapMul(shape.width, 256), shape.centerX);
    const int32_t mapBottom = wrapSub(wrapMul(shape.height, 256), shape.centerY);
    const int32_t widthLimit = toFixed(image.width), heightLimit = toFixed(image.height);
    walk.left = std::min(std::max(wrapSub(wholePixel(wrapSub(x, wrapMul(shape.centerX, scale) / 256)), 256), 0),
                         widthLimit);
    walk.top = std::min(std::max(wrapSub(wholePixel(wrapSub(y, wrapMul(shape.centerY, scale) / 256)), 256), 0),
                        heightLimit);
    walk.right =
        std::min(std::max(wrapAdd(wholePixel(wrapAdd(x, wrapMul(mapRight, scale) / 256)), 256), 0), widthLimit);
    walk.bottom =
        std::min(std::max(wrapAdd(wholePixel(wrapAdd(y, wrapMul(mapBottom, scale) / 256)), 256), 0), heightLimit);
    unionUpdate(image.update, {walk.left >> 8, walk.top >> 8, walk.right >> 8, walk.bottom >> 8});

    walk.du = (walk.cosA * 256) / scale;
    walk.dv = -(walk.sinA * 256) / scale;

    const int32_t strength = values[slot::strength];
    const BlendMode* mode = findBlendMode(code);
    switch (code & 0xF00) {
    case kColorGroup: drawColorGroup(image, shape, values, code, walk); break;
    case kHsbGroup:
        if (mode && mode->hsb) drawHsbGroup(image, shape, values, mode->hsb, walk);
        break;
    case kDisplacementGroup:
        if (!mode || !mode->displacement) break;
        drawThroughScratch(image, shape, walk, strength, [&](int32_t px, int32_t py, int32_t amount) {
            const Offset o = mode->displacement(values, wrapSub(px, x), wrapSub(py, y), amount, random);
            return sampleBilinear(image, wrapAdd(px, o.x), wrapAdd(py, o.y));
        });
        break;
    case kFilterGroup:
        if (!mode || !mode->filter) break;
        drawThroughScratch(image, shape, walk, strength, [&](int32_t px, int32_t py, int32_t amount) {
            return mode->filter(image, values, px, py, amount);
        });
        break;
    default: break;
    }
    return 1;
}

}  // namespace nelmora
