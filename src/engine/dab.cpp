#include "engine/dab.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "engine/blend_modes.h"
#include "engine/color.h"
#include "engine/dab_kernels.h"
#include "engine/random_run.h"
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

// A map step per image pixel and its reciprocal, taken once per dab so that
// finding a row's pixels on the map needs no division.
struct MapStep {
    int32_t step;
    double inverse;
    explicit MapStep(int32_t s) : step(s), inverse(s != 0 ? 1.0 / s : 0.0) {}
};

// The first i of 0..count with start + i * step >= bound, for step > 0:
// a floating estimate, then made exact by stepping (it is off by one at most
// for the coordinates of a dab, and the loops check the true condition).
inline int64_t firstReaching(int64_t start, int64_t step, double inverse, int64_t bound, int32_t count)
{
    int64_t i = int64_t(std::clamp(double(bound - start) * inverse, 0.0, double(count)));
    while (i < count && start + i * step < bound) ++i;
    while (i > 0 && start + (i - 1) * step >= bound) --i;
    return i;
}

// The coverage of a run of pixels of one row: coverage[k] belongs to pixel
// first + k of the chunk. Pixels of the chunk outside the run have coverage 0.
struct CoverageRun {
    const uint8_t* coverage;
    int32_t first;
    int32_t count;
};

// Narrows [first, last) to the pixels i of 0..count-1 with
// 0 <= start + i * step <= limit: one interval while start + i * step does
// not wrap.
inline void inRange(int64_t start, const MapStep& s, int64_t limit, int32_t count, int64_t& first, int64_t& last)
{
    int64_t from = 0, to = count;
    if (s.step > 0) {
        from = firstReaching(start, s.step, s.inverse, 0, count);
        to = firstReaching(start, s.step, s.inverse, limit + 1, count);
    } else if (s.step < 0) {
        // Mirrored: -start - i * step grows.
        from = firstReaching(-start, -int64_t(s.step), -s.inverse, -limit, count);
        to = firstReaching(-start, -int64_t(s.step), -s.inverse, 1, count);
    } else if (start < 0 || start > limit) {
        to = 0;
    }
    first = std::max(first, from);
    last = std::min(last, to);
}

// The pixels [first, last) of 0..count-1 whose map position, from (u, v) a
// step at a time, lies within usableWidth x usableHeight (one run while the
// positions do not wrap).
inline std::pair<int32_t, int32_t> onMapRun(int32_t u, int32_t v, const MapStep& stepU, const MapStep& stepV,
                                            int32_t usableWidth, int32_t usableHeight, int32_t count)
{
    int64_t from = 0, to = count;
    inRange(u, stepU, int64_t(usableWidth) * 256 - 1, count, from, to);
    inRange(v, stepV, int64_t(usableHeight) * 256 - 1, count, from, to);
    const int32_t first = int32_t(std::clamp<int64_t>(from, 0, count));
    return {first, int32_t(std::clamp<int64_t>(to, first, count))};
}

inline bool staysInInt32(int32_t start, int32_t step, int32_t count)
{
    const int64_t end = int64_t(start) + int64_t(step) * (count - 1);
    return end >= INT32_MIN && end <= INT32_MAX;
}

// What the last row of an unrotated walk sampled: every row starts at the
// same u, so the run is the same, and a map scaled up repeats each map row.
struct RowCache {
    bool valid = false;
    int32_t start = 0, count = 0, mv = 0;
    int32_t first = 0, last = 0;
    CoverageRun run{};
};

// The run without its uncovered ends: no kernel changes an uncovered pixel,
// and a round shape leaves a fifth of its box uncovered. Eight bytes a step;
// the first covered byte of a step is the lowest set byte on little-endian.
inline CoverageRun trimmed(CoverageRun run)
{
    constexpr bool kLittle = std::endian::native == std::endian::little;
    while (run.count >= 8) {
        uint64_t eight;
        std::memcpy(&eight, run.coverage, 8);
        const int32_t skip = eight == 0 ? 8 : kLittle ? std::countr_zero(eight) / 8 : 0;
        run.coverage += skip, run.first += skip, run.count -= skip;
        if (eight != 0) break;
    }
    while (run.count >= 8) {
        uint64_t eight;
        std::memcpy(&eight, run.coverage + run.count - 8, 8);
        run.count -= eight == 0 ? 8 : kLittle ? std::countl_zero(eight) / 8 : 0;
        if (eight != 0) break;
    }
    while (run.count > 0 && run.coverage[0] == 0) ++run.coverage, ++run.first, --run.count;
    while (run.count > 0 && run.coverage[run.count - 1] == 0) --run.count;
    return run;
}

// A sampled run grown by uncovered pixels to whole vector steps where the
// chunk's row has the pixels: no kernel changes an uncovered pixel, and a
// run of whole steps skips the kernels' scalar tail (most rotated rows).
inline CoverageRun toWholeSteps(CoverageRun run, uint8_t* buffer, int32_t chunkCount, int32_t lanes)
{
    const int32_t whole = (run.count + lanes - 1) / lanes * lanes;
    if (whole == run.count || run.first + whole > chunkCount) return run;
    std::memset(buffer + run.first + run.count, 0, size_t(whole - run.count));
    run.count = whole;
    return run;
}

// Samples `count` pixels of a row, nearest neighbour, into `buffer` (or points
// into the map). usableWidth and usableHeight are the map size (color group)
// or one less (the other groups never use the last column and row).
// Either way only the pixels that land on the map, one run, are sampled.
// Unrotated rows stay on one map row, and at thickness 1.0 (du = 256) the
// map row itself is used. `cache` (or null) carries that run from row to row.
CoverageRun sampleRow(const ShapeMap& shape, int32_t usableWidth, int32_t usableHeight, int32_t& u, int32_t& v,
                      const MapStep& stepU, const MapStep& stepV, int32_t count, uint8_t* buffer, RowCache* cache)
{
    const int32_t du = stepU.step, dv = stepV.step;
    if (dv != 0) {
        const int32_t startU = u, startV = v;
        u = int32_t(uint32_t(u) + uint32_t(du) * uint32_t(count));
        v = int32_t(uint32_t(v) + uint32_t(dv) * uint32_t(count));
        if (!staysInInt32(startU, du, count) || !staysInInt32(startV, dv, count)) {
            // Coordinates that wrap within the row: one pixel at a time.
            int32_t su = startU, sv = startV;
            for (int32_t i = 0; i < count; ++i) {
                const int32_t mu = su >> 8, mv = sv >> 8;
                const bool inside = uint32_t(mu) < uint32_t(usableWidth) && uint32_t(mv) < uint32_t(usableHeight);
                buffer[i] = inside ? shape.coverage[mv * shape.stride + mu] : 0;
                su = wrapAdd(su, du);
                sv = wrapAdd(sv, dv);
            }
            return {buffer, 0, count};
        }
        // Only the pixels that land on the map are sampled: a rotated box
        // has its corners off the map (half of it at 45 degrees).
        const auto [first, last] = onMapRun(startU, startV, stepU, stepV, usableWidth, usableHeight, count);
        if (last > first)
            dabKernels().sampleMap(shape.coverage, shape.stride, int32_t(startU + int64_t(first) * du),
                                   int32_t(startV + int64_t(first) * dv), du, dv, last - first, buffer + first);
        return {buffer + first, first, last - first};
    }
    const int32_t mv = v >> 8;
    const int32_t start = u;
    u = int32_t(uint32_t(u) + uint32_t(du) * uint32_t(count));
    if (uint32_t(mv) >= uint32_t(usableHeight)) return {buffer, 0, 0};
    const uint8_t* row = shape.coverage + size_t(mv) * size_t(shape.stride);
    const bool sameRun = cache && cache->valid && cache->start == start && cache->count == count;
    if (sameRun && cache->mv == mv) return cache->run;
    int32_t first = 0, last = 0;
    if (sameRun) {
        first = cache->first, last = cache->last;
    } else {
        // The pixels i with 0 <= start + i * du <= usableWidth * 256 - 1 form
        // one run (u does not wrap within it).
        int64_t from = 0, to = count;
        inRange(start, stepU, int64_t(usableWidth) * 256 - 1, count, from, to);
        first = int32_t(std::clamp<int64_t>(from, 0, count));
        last = int32_t(std::clamp<int64_t>(to, first, count));
    }
    CoverageRun run{buffer + first, first, last - first};
    if (du == 256) {
        run.coverage = row + ((start >> 8) + first);
    } else if (last > first) {
        dabKernels().sampleRun(row, (shape.height - mv) * shape.stride, int32_t(int64_t(start) + int64_t(first) * du),
                               du, last - first, buffer + first);
    }
    if (cache) *cache = {true, start, count, mv, first, last, run};
    return run;
}

constexpr int32_t kChunk = kMaxRun;
// A full-picture blur covers this many pixels in a millisecond or two.
constexpr int32_t kPixelsPerReport = 1 << 16;

// Calls visitChunk(row, firstColumn, coverage, count) for every run of up to
// kChunk pixels of every row of the box that the shape may cover; with
// trimEnds also map rows used in place lose their uncovered ends (worth it
// when a pixel costs the kernel more than finding those ends costs the row).
template <typename VisitChunk>
void walkRows(const Image& image, const ShapeMap& shape, const DabWalk& walk, bool lastColumnUsed, bool trimEnds,
              VisitChunk visitChunk)
{
    const int32_t usableWidth = lastColumnUsed ? shape.width : shape.width - 1;
    const int32_t usableHeight = lastColumnUsed ? shape.height : shape.height - 1;
    uint8_t buffer[kChunk];
    const int32_t columns = walk.columns();
    // The buffer holds the last row's samples only when a row is one chunk.
    RowCache cache;
    RowCache* rowCache = columns <= kChunk ? &cache : nullptr;
    const MapStep du(walk.du), dv(walk.dv);
    const int32_t lanes = dabKernels().lanes;
    int32_t sinceReport = 0;
    for (int32_t py = walk.top; py < walk.bottom; py += 256) {
        if (image.whilePainting && (sinceReport += columns) >= kPixelsPerReport) {
            sinceReport = 0;
            reportPainting(image);
        }
        int32_t u = walk.rowU(py), v = walk.rowV(py);
        const int32_t row = py >> 8;
        for (int32_t first = 0; first < columns; first += kChunk) {
            const int32_t count = std::min(kChunk, columns - first);
            CoverageRun run = sampleRow(shape, usableWidth, usableHeight, u, v, du, dv, count, buffer, rowCache);
            // Runs sampled into the buffer are always trimmed: next to the
            // sampling, finding their ends costs little.
            const bool sampled = run.coverage >= buffer && run.coverage < buffer + kChunk;
            if (trimEnds || sampled) run = trimmed(run);
            if (sampled && run.count > 0) run = toWholeSteps(run, buffer, count, lanes);
            if (run.count > 0) visitChunk(row, (walk.left >> 8) + first + run.first, run.coverage, run.count);
        }
    }
}

// Calls visitRow(row, firstColumn, lanes, count, room) for the pixels of every
// row of a rotated box that land on the map (room: the box's pixels from the
// first on); the kernel samples them as it paints.
template <typename VisitRow>
void walkRotatedRows(const Image& image, const ShapeMap& shape, const DabWalk& walk, VisitRow visitRow)
{
    const int32_t columns = walk.columns();
    const MapStep du(walk.du), dv(walk.dv);
    int32_t sinceReport = 0;
    for (int32_t py = walk.top; py < walk.bottom; py += 256) {
        if (image.whilePainting && (sinceReport += columns) >= kPixelsPerReport) {
            sinceReport = 0;
            reportPainting(image);
        }
        const int32_t u = walk.rowU(py), v = walk.rowV(py);
        // Rows whose positions wrap are checked pixel by pixel instead.
        const bool noWrap = staysInInt32(u, walk.du, columns) && staysInInt32(v, walk.dv, columns);
        const auto [first, last] = noWrap ? onMapRun(u, v, du, dv, shape.width, shape.height, columns)
                                          : std::pair<int32_t, int32_t>(0, columns);
        if (last <= first) continue;
        const MapLanes lanes{shape.coverage,
                             shape.stride,
                             shape.width,
                             shape.height,
                             int32_t(uint32_t(u) + uint32_t(first) * uint32_t(walk.du)),
                             int32_t(uint32_t(v) + uint32_t(first) * uint32_t(walk.dv)),
                             walk.du,
                             walk.dv,
                             noWrap};
        visitRow(py >> 8, (walk.left >> 8) + first, lanes, last - first, columns - first);
    }
}

void drawColorGroup(Image& image, const ShapeMap& shape, SlotValues& values, int32_t code, const DabWalk& walk)
{
    for (int i : {slot::saturation1, slot::brightness1, slot::saturation2, slot::brightness2, slot::strength})
        values[size_t(i)] = clampUnit(values[size_t(i)]);
    const BlendMode* mode = findBlendMode(code);
    if (!mode || !mode->color) return;
    ColorParams params{};
    params.c1 = hsbToRgb(values[slot::hue1] & 0xFFFF, values[slot::saturation1], values[slot::brightness1]);
    params.c2 = hsbToRgb(values[slot::hue2] & 0xFFFF, values[slot::saturation2], values[slot::brightness2]);
    params.strength = values[slot::strength];
    params.oneColor = params.c1 == params.c2;
    rgbToHsb(params.c1, params.hue1, params.saturation1, params.brightness1);
    // The HSB modes of a two-color dab read the color's HSB by coverage.
    int32_t hueBy[256], saturationBy[256], brightnessBy[256];
    if (mode->code >= 0x10B && !params.oneColor) {
        dabKernels().hsbByCoverage(params.c1, params.c2, hueBy, saturationBy, brightnessBy);
        params.hueBy = hueBy, params.saturationBy = saturationBy, params.brightnessBy = brightnessBy;
    }
    // Rotated Normal rows, where the level can, sample the map as they paint.
    const auto sampled = dabKernels().normalSampled;
    if (walk.dv != 0 && (mode->code & 0xFF) == 1 && sampled && shape.width > 0 && shape.height > 0) {
        walkRotatedRows(image, shape, walk,
                        [&](int32_t row, int32_t column, const MapLanes& lanes, int32_t count, int32_t room) {
                            sampled(image.pixels + size_t(row) * size_t(image.stride) + size_t(column), lanes,
                                    count, room, params);
                        });
        return;
    }
    const auto run = dabKernels().color[mode->code & 0xFF];
    // The modes up to Inverse-light cost a few instructions a pixel.
    const bool trimEnds = (mode->code & 0xFF) > 10;
    walkRows(image, shape, walk, true, trimEnds,
             [&](int32_t row, int32_t column, const uint8_t* coverage, int32_t count) {
                 run(image.pixels + size_t(row) * size_t(image.stride) + size_t(column), coverage, count, params);
             });
}

void drawHsbGroup(Image& image, const ShapeMap& shape, const SlotValues& values, int32_t op, const DabWalk& walk)
{
    const int32_t strength = values[slot::strength];
    const auto run = dabKernels().hsb[op];
    walkRows(image, shape, walk, false, true, [&](int32_t row, int32_t column, const uint8_t* coverage, int32_t count) {
        run(image.pixels + size_t(row) * size_t(image.stride) + size_t(column), coverage, count, strength);
    });
}

// Displacement and filter groups compute into the scratch image while they
// read the image as it was before the dab, then copy the box back.
// runChunk(out, row, column, coverage, count) fills one run of a scratch row.
template <typename RunChunk>
void drawThroughScratch(Image& image, const ShapeMap& shape, const DabWalk& walk, RunChunk runChunk)
{
    const int32_t columns = walk.columns(), rows = walk.rows();
    if (columns <= 0 || rows <= 0) return;
    Image* scratch = scratchImageOfSize(columns, rows);
    if (!scratch) return;
    const int32_t left = walk.left >> 8, top = walk.top >> 8;
    copyRect(image, *scratch, left, top, columns, rows, 0, 0);
    walkRows(image, shape, walk, false, true, [&](int32_t row, int32_t column, const uint8_t* coverage, int32_t count) {
        uint32_t* out = scratch->pixels + size_t(row - top) * size_t(scratch->stride) + size_t(column - left);
        runChunk(out, row, column, coverage, count);
    });
    copyRect(*scratch, image, 0, 0, columns, rows, left, top);
}

void drawDisplacementGroup(Image& image, const ShapeMap& shape, const SlotValues& values, int32_t op,
                           const DabWalk& walk, RandomState& random)
{
    DisplaceParams params{};
    params.x = walk.x;
    params.y = walk.y;
    params.strength = values[slot::strength];
    params.thickness = values[slot::thickness];
    const int32_t length = wrapMul(values[slot::interval] >> 8, values[slot::thickness] >> 8);
    const int32_t q = values[slot::motionAngle] & 0xFFFF;
    params.pullX = wrapMul(sinTable()[q], length) >> 10;
    params.pullY = wrapMul(cosTable()[q], length) >> 10;
    const int32_t t = values[slot::thickness] >> 8;
    const auto run = dabKernels().displace[op];
    // The diffusions draw one number per covered pixel in row order, before
    // the run is computed (all of a run's numbers at once: the generator
    // jumps ahead in lanes); uncovered pixels get 0, which they never use.
    int32_t drawn[2 * kDrawnStride], numbers[kMaxRun];
    const TrigTable& cosines = cosTable();
    const TrigTable& sines = sinTable();
    drawThroughScratch(image, shape, walk,
                       [&](uint32_t* out, int32_t row, int32_t column, const uint8_t* coverage, int32_t count) {
                           if (op == 4 || op == 5) {
                               int32_t covered = 0;
                               for (int32_t i = 0; i < count; ++i) covered += coverage[i] != 0;
                               drawRandomRun(random, covered, numbers);
                               const int32_t* next = numbers;
                               for (int32_t i = 0; i < count; ++i) {
                                   const int32_t r = coverage[i] ? *next++ : 0;
                                   if (op == 4) {
                                       drawn[i] = coverage[i] ? wrapMul(cosines[2 * r], t) >> 8 : 0;
                                       drawn[kDrawnStride + i] = coverage[i] ? wrapMul(sines[2 * r], t) >> 8 : 0;
                                   } else {
                                       drawn[i] = r;
                                   }
                               }
                           }
                           run(image, out, coverage, count, column, row, params, drawn);
                       });
}

void drawFilterGroup(Image& image, const ShapeMap& shape, const SlotValues& values, int32_t op, const DabWalk& walk)
{
    FilterParams params{};
    params.strength = values[slot::strength];
    const int32_t q = values[slot::ex1] & 0xFFFF;
    params.u = wrapMul(sinTable()[q], values[slot::ex2]) >> 12;
    params.w = wrapMul(cosTable()[q], values[slot::ex2]) >> 12;
    const auto run = dabKernels().filter[op];
    drawThroughScratch(image, shape, walk,
                       [&](uint32_t* out, int32_t row, int32_t column, const uint8_t* coverage, int32_t count) {
                           run(image, out, coverage, count, column, row, params);
                       });
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
    const UpdateRect box{walk.left >> 8, walk.top >> 8, walk.right >> 8, walk.bottom >> 8};
    unionUpdate(image.update, box);
    if (image.beforeWrite && !isEmpty(box)) image.beforeWrite(image.writeWatcher, box);
    reportPainting(image);

    walk.du = (walk.cosA * 256) / scale;
    walk.dv = -(walk.sinA * 256) / scale;

    const BlendMode* mode = findBlendMode(code);
    const int32_t op = mode ? mode->code & 0xFF : 0;
    switch (code & 0xF00) {
    case kColorGroup: drawColorGroup(image, shape, values, code, walk); break;
    case kHsbGroup:
        if (mode && mode->hsb) drawHsbGroup(image, shape, values, op, walk);
        break;
    case kDisplacementGroup:
        if (mode && mode->displacement) drawDisplacementGroup(image, shape, values, op, walk, random);
        break;
    case kFilterGroup:
        if (mode && mode->filter) drawFilterGroup(image, shape, values, op, walk);
        break;
    default: break;
    }
    return 1;
}

}  // namespace nelmora
