#include "engine/dab.h"

#include <algorithm>

#include "engine/blend_modes.h"
#include "engine/color.h"
#include "engine/wrap_int.h"
#include "image/tables.h"

namespace nelmora {

namespace {

// n pixels in 24.8; images wider or taller than 24.8 can address end at the
// last whole pixel that fits.
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

// Coverage of `count` pixels of a row, nearest neighbour. usableWidth and
// usableHeight are the map size (colour group) or one less (the other groups
// never use the last column and row).
void sampleRow(const ShapeMap& shape, int32_t usableWidth, int32_t usableHeight, int32_t& u, int32_t& v,
               int32_t du, int32_t dv, int32_t count, uint8_t* coverage)
{
    for (int32_t i = 0; i < count; ++i) {
        const int32_t mu = u >> 8, mv = v >> 8;
        const bool inside = uint32_t(mu) < uint32_t(usableWidth) && uint32_t(mv) < uint32_t(usableHeight);
        coverage[i] = inside ? shape.coverage[mv * shape.stride + mu] : 0;
        u = wrapAdd(u, du);
        v = wrapAdd(v, dv);
    }
}

constexpr int32_t kChunk = 256;

// Calls visitChunk(row, firstColumn, coverage, count) for every run of up to
// kChunk pixels of every row of the box, with the run's coverage sampled.
template <typename VisitChunk>
void walkRows(const ShapeMap& shape, const DabWalk& walk, bool lastColumnUsed, VisitChunk visitChunk)
{
    const int32_t usableWidth = lastColumnUsed ? shape.width : shape.width - 1;
    const int32_t usableHeight = lastColumnUsed ? shape.height : shape.height - 1;
    uint8_t coverage[kChunk];
    const int32_t columns = walk.columns();
    for (int32_t py = walk.top; py < walk.bottom; py += 256) {
        int32_t u = walk.rowU(py), v = walk.rowV(py);
        const int32_t row = py >> 8;
        for (int32_t first = 0; first < columns; first += kChunk) {
            const int32_t count = std::min(kChunk, columns - first);
            sampleRow(shape, usableWidth, usableHeight, u, v, walk.du, walk.dv, count, coverage);
            visitChunk(row, (walk.left >> 8) + first, coverage, count);
        }
    }
}

// Colour group, Normal: mixColor(D, colour, alpha) with the colour itself a
// mix of the two dab colours by coverage. Written on packed channel pairs so
// the compiler can keep it in vector registers; bit-identical to mixColor.
void normalChunk(uint32_t* pixels, const uint8_t* coverage, int32_t count, uint32_t c1, uint32_t c2,
                 int32_t strength)
{
    const bool oneColour = c1 == c2;
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t m = coverage[i];
        const uint32_t a = (m * uint32_t(strength)) >> 16;
        const uint32_t d = pixels[i];
        uint32_t colour = c1;
        if (!oneColour) {
            const uint32_t rb = ((c2 & 0xFF00FFu) * (256 - m) + (c1 & 0xFF00FFu) * m + 0x800080u) >> 8;
            const uint32_t g = ((c2 & 0xFF00u) * (256 - m) + (c1 & 0xFF00u) * m + 0x8000u) >> 8;
            colour = (rb & 0xFF00FFu) | (g & 0xFF00u);
        }
        const uint32_t rb = ((d & 0xFF00FFu) * (256 - a) + (colour & 0xFF00FFu) * a + 0x800080u) >> 8;
        const uint32_t g = ((d & 0xFF00u) * (256 - a) + (colour & 0xFF00u) * a + 0x8000u) >> 8;
        const uint32_t mixed = 0xFF000000u | (rb & 0xFF00FFu) | (g & 0xFF00u);
        // Alpha 0 (also every uncovered pixel) leaves the pixel untouched.
        pixels[i] = a != 0 ? mixed : d;
    }
}

void drawColourGroup(Image& image, const ShapeMap& shape, SlotValues& values, int32_t code, const DabWalk& walk)
{
    for (int i : {slot::saturation1, slot::brightness1, slot::saturation2, slot::brightness2, slot::strength})
        values[size_t(i)] = clampUnit(values[size_t(i)]);
    const int32_t op = code & 0xFF;
    if (op < 1 || op > 14) return;
    const uint32_t c1 = hsbToRgb(values[slot::hue1] & 0xFFFF, values[slot::saturation1], values[slot::brightness1]);
    const uint32_t c2 = hsbToRgb(values[slot::hue2] & 0xFFFF, values[slot::saturation2], values[slot::brightness2]);
    const int32_t strength = values[slot::strength];
    const ColourOp blend = colourOps[size_t(op)];
    walkRows(shape, walk, true, [&](int32_t row, int32_t column, const uint8_t* coverage, int32_t count) {
        uint32_t* pixels = image.pixels + size_t(row) * size_t(image.stride) + size_t(column);
        if (op == 1) return normalChunk(pixels, coverage, count, c1, c2, strength);
        for (int32_t i = 0; i < count; ++i) {
            const int32_t m = coverage[i];
            if (m == 0) continue;
            const uint32_t colour = c1 == c2 ? c1 : mixColor(c2, c1, m);
            pixels[i] = blend(pixels[i], colour, (m * strength) >> 16);
        }
    });
}

void drawHsbGroup(Image& image, const ShapeMap& shape, const SlotValues& values, int32_t code, const DabWalk& walk)
{
    const int32_t op = code & 0xFF;
    if (op < 1 || op > 3) return;
    const int32_t strength = values[slot::strength];
    walkRows(shape, walk, false, [&](int32_t row, int32_t column, const uint8_t* coverage, int32_t count) {
        uint32_t* pixels = image.pixels + size_t(row) * size_t(image.stride) + size_t(column);
        for (int32_t i = 0; i < count; ++i)
            if (coverage[i] != 0) pixels[i] = hsbShift(pixels[i], wrapMul(coverage[i], strength) >> 8, code);
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

int32_t drawDab(Image& image, const ShapeMap& shape, SlotValues& values, int32_t code, int32_t x, int32_t y)
{
    const int32_t angle = values[slot::angle] & 0xFFFF;
    const int32_t scale = std::min(values[slot::thickness] >> 8, 0xFFFF);

    const int32_t placementAngle = values[slot::placementAngle] & 0xFFFF;
    const int32_t placement = values[slot::placement];
    x = wrapAdd(x, wrapMul(sinTable[placementAngle], placement) >> 8);
    y = wrapSub(y, wrapMul(cosTable[placementAngle], placement) >> 8);
    if (scale <= 0) return 0;

    DabWalk walk{};
    walk.x = x;
    walk.y = y;
    walk.scale = scale;
    walk.cosA = cosTable[angle];
    walk.sinA = sinTable[angle];
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
    switch (code & 0xF00) {
    case kColourGroup: drawColourGroup(image, shape, values, code, walk); break;
    case kHsbGroup: drawHsbGroup(image, shape, values, code, walk); break;
    case kDisplacementGroup: {
        const int32_t op = code & 0xFF;
        if (op < 1 || op > 5) break;
        const DisplacementOp displace = displacementOps[size_t(op)];
        drawThroughScratch(image, shape, walk, strength, [&](int32_t px, int32_t py, int32_t amount) {
            const Offset o = displace(values, wrapSub(px, x), wrapSub(py, y), amount);
            return sampleBilinear(image, wrapAdd(px, o.x), wrapAdd(py, o.y));
        });
        break;
    }
    case kFilterGroup: {
        const int32_t op = code & 0xFF;
        if (op < 1 || op > 2) break;
        drawThroughScratch(image, shape, walk, strength, [&](int32_t px, int32_t py, int32_t amount) {
            return filterOp(image, values, px, py, amount, code);
        });
        break;
    }
    default: break;
    }
    return 1;
}

}  // namespace nelmora
