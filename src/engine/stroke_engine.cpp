#include "engine/stroke_engine.h"

#include <algorithm>
#include <cmath>

#include "engine/blend_modes.h"
#include "engine/dab.h"
#include "engine/random.h"
#include "engine/slots.h"
#include "engine/turn_angle.h"
#include "engine/wrap_int.h"

namespace nelmora {

namespace {

constexpr int32_t kInitialCarry = 100;  // 24.8: the first dab lies 100/256 pixel into the stroke
constexpr int32_t kMinimumSpacing = 5;

// Color 2 of a one-color pen is color 1.
inline void applyLineColor(const Pen& pen, SlotValues& s)
{
    if (pen.lineColor != 0) return;
    s[slot::hue2] = s[slot::hue1];
    s[slot::saturation2] = s[slot::saturation1];
    s[slot::brightness2] = s[slot::brightness1];
}

// What every segment (continue and end) measures before its dabs: the
// segment vector, its length, the acceleration against the previous segment,
// random2, and the end values E without jitter.
struct Segment {
    int32_t dx, dy;
    int32_t dist;
    SlotValues end;
};

Segment measureSegment(Pen& pen, DrawingValues& values, RandomState& random, int32_t x, int32_t y)
{
    Segment s{};
    s.dx = wrapSub(pen.lastX, x);
    s.dy = wrapSub(pen.lastY, y);
    pen.dabX = wrapMul(pen.lastX, 256);
    pen.dabY = wrapMul(pen.lastY, 256);
    // Squares in double: a long drag outside the window would overflow them in 32 bits.
    s.dist = truncToInt32(std::sqrt(double(s.dx) * s.dx + double(s.dy) * s.dy) * 256.0);
    const int32_t ax = wrapSub(s.dx, pen.lastDX);
    const int32_t ay = wrapSub(s.dy, pen.lastDY);
    values[dv::accelerationAngle] = turnAngle(std::atan2(double(ay), double(ax)));
    values[dv::acceleration] = truncToInt32(std::sqrt(double(ax) * ax + double(ay) * ay));
    values[dv::random2] = 2 * drawRandom(random);
    values[dv::moveDistance] = s.dist;
    evaluateSlots(values, pen.params, nullptr, s.end);
    return s;
}

// One dab at (px, py) with weight w on the end values: per-dab sources (the
// caller has drawn random3), slot interpolation, the dab. Returns the spacing
// to the next dab.
int32_t placeDab(Image* image, Pen& pen, DrawingValues& values, RandomState& random, const Segment& segment,
                 DrawingValues& perDab, int32_t w, int32_t px, int32_t py)
{
    const int32_t mx = wrapSub(pen.dabX, px), my = wrapSub(pen.dabY, py);
    perDab[dv::moveAngle] = turnAngle(std::atan2(double(mx), double(wrapNeg(my))));
    SlotValues increment, s;
    evaluateSlots(perDab, pen.params, &random, increment);
    // The first segment of a stroke (count2 still 0) does not interpolate.
    const SlotValues& previous = values[dv::count2] != 0 ? pen.lastOutputs : segment.end;
    interpolateSlots(segment.end, previous, increment, w, s);
    const int32_t product = wrapMul(s[slot::thickness] >> 4, s[slot::interval] >> 4) >> 8;
    const int32_t spacing = std::max(wrapMul(product, pen.shape->width) >> 8, kMinimumSpacing);
    applyLineColor(pen, s);
    if (image) drawDab(*image, *pen.shape, s, blendModeCode(pen.blendIndex), px, py, random);
    pen.dabX = px;
    pen.dabY = py;
    values[dv::count3] = wrapAdd(values[dv::count3], 256);
    return spacing;
}

void finishSegment(Pen& pen, DrawingValues& values, const Segment& segment, int32_t x, int32_t y)
{
    pen.lastOutputs = segment.end;
    pen.lastX = x;
    pen.lastY = y;
    pen.lastDX = segment.dx;
    pen.lastDY = segment.dy;
    values[dv::count2] = wrapAdd(values[dv::count2], 256);
}

}  // namespace

void beginStroke(Image*, Pen* pen, DrawingValues& values, RandomState& random, int32_t x, int32_t y)
{
    SlotValues discarded;
    evaluateSlots(values, pen->params, &random, discarded);  // draws the 20 jitter values
    pen->lastX = x;
    pen->lastY = y;
    pen->dabX = wrapMul(x, 256);
    pen->dabY = wrapMul(y, 256);
    pen->carry = kInitialCarry;
    values[dv::random1] = 2 * drawRandom(random);
    values[dv::count1] = wrapAdd(values[dv::count1], 256);
    values[dv::count2] = 0;
    values[dv::count3] = 0;
}

void continueStroke(Image* image, Pen* pen, DrawingValues& values, RandomState& random, int32_t x, int32_t y)
{
    DrawingValues perDab{};
    const int32_t lastX = pen->lastX, lastY = pen->lastY;
    const Segment segment = measureSegment(*pen, values, random, x, y);
    // 64 bits: a huge spacing must end the walk, not wrap around into it.
    int64_t r = pen->carry;
    while (r < segment.dist) {
        perDab[dv::random3] = 3 * drawRandom(random);
        const double t = double(r) / double(segment.dist);
        const int32_t px = truncToInt32((lastX * (1.0 - t) + t * x) * 256.0);
        const int32_t py = truncToInt32((lastY * (1.0 - t) + t * y) * 256.0);
        r += placeDab(image, *pen, values, random, segment, perDab, truncToInt32(t * 256.0), px, py);
    }
    finishSegment(*pen, values, segment, x, y);
    pen->carry = int32_t(r - segment.dist);
}

// The release point gets exactly one dab, with the end values whole.
void endStroke(Image* image, Pen* pen, DrawingValues& values, RandomState& random, int32_t x, int32_t y)
{
    DrawingValues perDab{};
    const Segment segment = measureSegment(*pen, values, random, x, y);
    perDab[dv::random3] = 3 * drawRandom(random);
    placeDab(image, *pen, values, random, segment, perDab, 256, wrapMul(x, 256), wrapMul(y, 256));
    finishSegment(*pen, values, segment, x, y);
}

}  // namespace nelmora
