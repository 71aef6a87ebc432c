// The dab kernels, written as branch-free loops over 32-bit lanes so that the
// compiler vectorises them for whatever instruction set the including file is
// built for. Each level's file includes this inside a namespace of its own
// (NELMORA_KERNEL_NS): every helper is then a separate copy for that level,
// and no out-of-line copy built for AVX2 can be picked by the linker for code
// that runs on a CPU without it. For the same reason nothing here calls an
// inline function of another header.
//
// Every function reproduces the plain per-pixel operation of blend_modes.cpp
// and color.h bit for bit; lanes of uncovered pixels compute too and are then
// discarded by a select.

#include <cstdint>
#include <cstring>

#include "engine/dab_kernels.h"

#ifndef NELMORA_KERNEL_NS
#error "define NELMORA_KERNEL_NS before including dab_kernels_impl.h"
#endif

// The per-pixel helpers must inline into the row loops, or those loops stay
// scalar; the compiler's own budget runs out on the HSB modes.
#if defined(__GNUC__)
#define NELMORA_INLINE inline __attribute__((always_inline))
#else
#define NELMORA_INLINE inline
#endif

// Pixels per vector step, for padding the end of a run (1: scalar level).
#ifndef NELMORA_KERNEL_LANES
#define NELMORA_KERNEL_LANES 1
#endif

namespace nelmora::NELMORA_KERNEL_NS {

namespace {

using u32 = uint32_t;
using i32 = int32_t;

NELMORA_INLINE i32 imin(i32 a, i32 b) { return a < b ? a : b; }
NELMORA_INLINE i32 imax(i32 a, i32 b) { return a > b ? a : b; }
NELMORA_INLINE i32 wmul(i32 a, i32 b) { return i32(u32(a) * u32(b)); }
NELMORA_INLINE i32 wadd(i32 a, i32 b) { return i32(u32(a) + u32(b)); }
NELMORA_INLINE i32 wsub(i32 a, i32 b) { return i32(u32(a) - u32(b)); }
NELMORA_INLINE i32 wneg(i32 a) { return i32(0u - u32(a)); }
NELMORA_INLINE i32 ch(u32 c, int shift) { return i32((c >> shift) & 0xFF); }
NELMORA_INLINE u32 pack(i32 r, i32 g, i32 b, u32 top)
{
    return top | (u32(r & 0xFF) << 16) | (u32(g & 0xFF) << 8) | u32(b & 0xFF);
}

// mixColor for weights 0..256 (red and blue in one product).
NELMORA_INLINE u32 mixIn(u32 a, u32 b, i32 w)
{
    const u32 n = u32(256 - w), uw = u32(w);
    const u32 rb = ((a & 0xFF00FFu) * n + (b & 0xFF00FFu) * uw + 0x800080u) >> 8;
    const u32 g = ((a & 0xFF00u) * n + (b & 0xFF00u) * uw + 0x8000u) >> 8;
    const u32 mixed = 0xFF000000u | (rb & 0xFF00FFu) | (g & 0xFF00u);
    return w == 0 ? a : (w == 256 ? b : mixed);
}

// mixColor for any weight: channel by channel, low byte of each sum.
NELMORA_INLINE u32 mixAny(u32 a, u32 b, i32 w)
{
    const u32 n = 256u - u32(w), uw = u32(w);
    const u32 r = (((a >> 16) & 0xFF) * n + ((b >> 16) & 0xFF) * uw + 128u) >> 8;
    const u32 g = (((a >> 8) & 0xFF) * n + ((b >> 8) & 0xFF) * uw + 128u) >> 8;
    const u32 bl = ((a & 0xFF) * n + (b & 0xFF) * uw + 128u) >> 8;
    const u32 mixed = 0xFF000000u | ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (bl & 0xFF);
    return w == 0 ? a : (w == 256 ? b : mixed);
}

// x / d for 0 <= x < 2^24 and 1 <= d < 2^24: the float quotient is within one
// of the true one, and one correction step either way makes it exact.
NELMORA_INLINE i32 divSmall(i32 x, i32 d)
{
    i32 q = i32(float(x) / float(d));
    const i32 r = x - q * d;
    q = r < 0 ? q - 1 : q;
    return r >= d ? q + 1 : q;
}

struct Hsb {
    i32 h, s, v;
};

// c ? a : b as a mask, which the compiler cannot turn back into a branch
// (it does, for some chains of selects, and then gives up vectorising).
NELMORA_INLINE i32 pick(bool c, i32 a, i32 b)
{
    const i32 m = -i32(c);
    return (a & m) | (b & ~m);
}

// rgbToHsb: the six hue cases pick a channel, a base and a sign, so one
// division serves all of them; (x / 6) / d is x / (6 d) for x >= 0.
NELMORA_INLINE Hsb toHsb(u32 c)
{
    const i32 r = ch(c, 16), g = ch(c, 8), b = ch(c, 0);
    const i32 mx = imax(r, imax(g, b)), mn = imin(r, imin(g, b));
    const i32 d = mx - mn;
    const i32 s = divSmall(d * 0xFFFF, pick(mx == 0, 1, mx));
    // The first of the cases that holds; & rather than && keeps them branch-free.
    const bool c1 = (mx == r) & (mn == b), c2 = mx == r, c3 = (mx == g) & (mn == r), c4 = mx == g, c5 = mn == g;
    const i32 channel = pick(c1, g, pick(c2, b, pick(c3, b, pick(c4, r, pick(c5, r, g)))));
    const i32 base = pick(c1, 0, pick(c2, 0xFFFF, pick(c3, 0x5555, pick(c4, 0x5554, 0xAAAA))));
    const i32 sign = pick(c1, 1, pick(c2, -1, pick(c3, 1, pick(c4, -1, pick(c5, 1, -1)))));
    const i32 q = divSmall((channel - mn) * 65536, 6 * pick(d == 0, 1, d));
    const i32 h = pick(d == 0, 0, base + sign * q);
    return {pick(mx == 0, 0, h), pick(mx == 0, 0, s), pick(mx == 0, 0, mx * 256 + 255)};
}

NELMORA_INLINE u32 hsbChannel(i32 x, i32 saturation, i32 brightness)
{
    const u32 scaled = u32(i32(u32(x) * u32(saturation)) >> 8) + (0xFFFFu - u32(saturation));
    return (scaled * u32(brightness)) >> 24;
}

NELMORA_INLINE u32 fromHsb(i32 hue, i32 saturation, i32 brightness)
{
    const i32 sector = ((hue & 0xFFFF) * 6) >> 16;
    const i32 p = i32(u32(hue) * 6u + 128u) / 256;
    // Per channel, its value in each of the six sectors.
    const i32 r = pick(sector == 1, 512 - p, pick(sector == 4, p - 1024, pick((sector == 2) | (sector == 3), 0, 255)));
    const i32 g = pick(sector == 0, p, pick(sector == 3, 1024 - p, pick(sector >= 4, 0, 255)));
    const i32 b = pick(sector == 2, p - 512, pick(sector == 5, 1536 - p, pick(sector <= 1, 0, 255)));
    return (hsbChannel(r, saturation, brightness) << 16) | (hsbChannel(g, saturation, brightness) << 8) |
           hsbChannel(b, saturation, brightness);
}

// --- color group: d the pixel, n the dab color (nh its HSB), a 0..254 ------

constexpr u32 kTopFF = 0xFF000000u;
constexpr u32 kHighSevenBits = 0xFEFEFEu;
constexpr u32 kChannelCarries = 0x1010100u;

struct Normal {
    static constexpr bool kHsb = false;
    NELMORA_INLINE static u32 apply(u32 d, u32 n, Hsb, i32 a) { return mixIn(d, n, a); }
};
struct Add {
    static constexpr bool kHsb = false;
    NELMORA_INLINE static u32 apply(u32 d, u32 n, Hsb, i32 a)
    {
        const u32 sum = (d & kHighSevenBits) + (mixIn(0, n, a) & kHighSevenBits);
        return (sum & kHighSevenBits) | (((sum & kChannelCarries) >> 8) * 0xFF);
    }
};
struct Subtract {
    static constexpr bool kHsb = false;
    NELMORA_INLINE static u32 apply(u32 d, u32 n, Hsb, i32 a)
    {
        const u32 sum = (d & kHighSevenBits) + (mixIn(0xFFFFFF, n, a) & kHighSevenBits);
        return sum & kHighSevenBits & (((sum & kChannelCarries) >> 8) * 0xFF);
    }
};
NELMORA_INLINE i32 clampByte(i32 v) { return imin(imax(v, 0), 255); }
struct AddSubtract {
    static constexpr bool kHsb = false;
    NELMORA_INLINE static u32 apply(u32 d, u32 n, Hsb, i32 a)
    {
        const u32 s = mixIn(0x808080, n, a);
        return pack(clampByte(ch(d, 16) + ch(s, 16) - 128), clampByte(ch(d, 8) + ch(s, 8) - 128),
                    clampByte(ch(d, 0) + ch(s, 0) - 128), kTopFF);
    }
};
struct Multiply {
    static constexpr bool kHsb = false;
    NELMORA_INLINE static u32 apply(u32 d, u32 n, Hsb, i32 a)
    {
        const u32 s = mixIn(0xFFFFFF, n, a);
        return pack((ch(d, 16) * ch(s, 16)) >> 8, (ch(d, 8) * ch(s, 8)) >> 8, (ch(d, 0) * ch(s, 0)) >> 8, kTopFF);
    }
};
struct InverseMultiply {
    static constexpr bool kHsb = false;
    NELMORA_INLINE static u32 apply(u32 d, u32 n, Hsb, i32 a)
    {
        const u32 s = mixIn(0, n, a);
        auto f = [](i32 x, i32 y) { return 255 - (((255 - x) * (255 - y)) >> 8); };
        return pack(f(ch(d, 16), ch(s, 16)), f(ch(d, 8), ch(s, 8)), f(ch(d, 0), ch(s, 0)), kTopFF);
    }
};
struct Lighten {
    static constexpr bool kHsb = false;
    NELMORA_INLINE static u32 apply(u32 d, u32 n, Hsb, i32 a)
    {
        return mixIn(d, pack(imax(ch(d, 16), ch(n, 16)), imax(ch(d, 8), ch(n, 8)), imax(ch(d, 0), ch(n, 0)), kTopFF),
                     a);
    }
};
struct Darken {
    static constexpr bool kHsb = false;
    NELMORA_INLINE static u32 apply(u32 d, u32 n, Hsb, i32 a)
    {
        return mixIn(d, pack(imin(ch(d, 16), ch(n, 16)), imin(ch(d, 8), ch(n, 8)), imin(ch(d, 0), ch(n, 0)), kTopFF),
                     a);
    }
};
struct Light {
    static constexpr bool kHsb = false;
    NELMORA_INLINE static u32 apply(u32 d, u32 n, Hsb, i32 a)
    {
        const u32 s = mixIn(0, n, a);
        const i32 t0 = ch(d, 16) + ch(s, 16), t1 = ch(d, 8) + ch(s, 8), t2 = ch(d, 0) + ch(s, 0);
        const i32 s0 = t0 > 255 ? ((t0 - 255) >> 1) + 1 : 0;
        const i32 s1 = t1 > 255 ? ((t1 - 255) >> 1) + 1 : 0;
        const i32 s2 = t2 > 255 ? ((t2 - 255) >> 1) + 1 : 0;
        return pack(imin(imin(t0, 255) + s1 + s2, 255), imin(imin(t1, 255) + s0 + s2, 255),
                    imin(imin(t2, 255) + s0 + s1, 255), kTopFF);
    }
};
struct InverseLight {
    static constexpr bool kHsb = false;
    NELMORA_INLINE static u32 apply(u32 d, u32 n, Hsb, i32 a)
    {
        const u32 s = mixIn(0xFFFFFF, n, a);
        const i32 t0 = ch(d, 16) + ch(s, 16) - 256, t1 = ch(d, 8) + ch(s, 8) - 256, t2 = ch(d, 0) + ch(s, 0) - 256;
        const i32 s0 = t0 < 0 ? (t0 >> 1) - 1 : 0;
        const i32 s1 = t1 < 0 ? (t1 >> 1) - 1 : 0;
        const i32 s2 = t2 < 0 ? (t2 >> 1) - 1 : 0;
        return pack(imax(imax(t0, 0) + s1 + s2, 0), imax(imax(t1, 0) + s0 + s2, 0), imax(imax(t2, 0) + s0 + s1, 0),
                    kTopFF);
    }
};
struct Hue {
    static constexpr bool kHsb = true;
    NELMORA_INLINE static u32 apply(u32 d, u32, Hsb n, i32 a)
    {
        const Hsb p = toHsb(d);
        const Hsb mixed = toHsb(mixIn(d, fromHsb(n.h, p.s, p.v), a));
        return fromHsb(mixed.h, p.s, p.v);
    }
};
struct Saturation {
    static constexpr bool kHsb = true;
    NELMORA_INLINE static u32 apply(u32 d, u32, Hsb n, i32 a)
    {
        const Hsb p = toHsb(d);
        return mixIn(d, fromHsb(p.h, n.s, p.v), a);
    }
};
struct Brightness {
    static constexpr bool kHsb = true;
    NELMORA_INLINE static u32 apply(u32 d, u32, Hsb n, i32 a)
    {
        const Hsb p = toHsb(d);
        return mixIn(d, fromHsb(p.h, p.s, n.v), a);
    }
};
struct HueSaturation {
    static constexpr bool kHsb = true;
    NELMORA_INLINE static u32 apply(u32 d, u32, Hsb n, i32 a)
    {
        const Hsb p = toHsb(d);
        const Hsb mixed = toHsb(mixIn(d, fromHsb(n.h, n.s, p.v), a));
        return fromHsb(mixed.h, mixed.s, p.v);
    }
};

// rows(pixels, coverage, n) over whole vector steps, the rest of the run
// through a copy padded with uncovered pixels, so no pixel takes a scalar
// path. Coverage is widened to 32 bits first: a loop that reads bytes is
// vectorised 32 pixels a step, which leaves short runs to scalar code.
template <typename Rows>
inline void inWholeSteps(uint32_t* pixels, const uint8_t* coverage, int32_t count, Rows rows)
{
    constexpr i32 kLanes = NELMORA_KERNEL_LANES;
    alignas(32) i32 wide[kMaxRun + kLanes];
    for (i32 i = 0; i < count; ++i) wide[i] = coverage[i];
    const i32 whole = count & ~(kLanes - 1);
    if (whole > 0) rows(pixels, wide, whole);
    if (whole == count) return;
    for (i32 i = count; i < whole + kLanes; ++i) wide[i] = 0;
    u32 rest[kLanes] = {};
    std::memcpy(rest, pixels + whole, size_t(count - whole) * 4);
    rows(rest, wide + whole, kLanes);
    std::memcpy(pixels + whole, rest, size_t(count - whole) * 4);
}

template <typename Op>
void colorRows(uint32_t* __restrict pixels, const int32_t* __restrict coverage, int32_t count,
              const ColorParams& params)
{
    const u32 c1 = params.c1, c2 = params.c2;
    const i32 strength = params.strength;
    if (params.oneColor) {
        const Hsb n{params.hue1, params.saturation1, params.brightness1};
        for (i32 i = 0; i < count; ++i) {
            const i32 m = coverage[i];
            const u32 d = pixels[i];
            const u32 r = Op::apply(d, c1, n, (m * strength) >> 16);
            pixels[i] = m != 0 ? r : d;
        }
        return;
    }
    for (i32 i = 0; i < count; ++i) {
        const i32 m = coverage[i];
        const u32 d = pixels[i];
        const u32 n = mixIn(c2, c1, m);
        Hsb nh{0, 0, 0};
        if constexpr (Op::kHsb) nh = {params.hueBy[m], params.saturationBy[m], params.brightnessBy[m]};
        const u32 r = Op::apply(d, n, nh, (m * strength) >> 16);
        pixels[i] = m != 0 ? r : d;
    }
}

void hsbByCoverage(uint32_t c1, uint32_t c2, int32_t* __restrict hue, int32_t* __restrict saturation,
                   int32_t* __restrict brightness)
{
    for (i32 m = 0; m < 256; ++m) {
        const Hsb n = toHsb(mixIn(c2, c1, m));
        hue[m] = n.h;
        saturation[m] = n.s;
        brightness[m] = n.v;
    }
}

template <typename Op>
void colorRun(uint32_t* pixels, const uint8_t* coverage, int32_t count, const ColorParams& params)
{
    inWholeSteps(pixels, coverage, count,
                 [&](uint32_t* p, const int32_t* c, int32_t n) { colorRows<Op>(p, c, n, params); });
}

// --- HSB group ----------------------------------------------------------------

NELMORA_INLINE i32 clampAdd(i32 x, i32 k)
{
    const i32 sum = x + imin(imax(k, -0x20000), 0x20000);  // x is 0..0xFFFF: clamping k first cannot change the result
    return imin(imax(sum, 0), 0xFFFF);
}

struct HueShift {
    NELMORA_INLINE static u32 apply(u32 d, i32 k)
    {
        const Hsb p = toHsb(d);
        return k == 0 ? d : fromHsb(wadd(p.h, k) & 0xFFFF, p.s, p.v);
    }
};
struct SaturationShift {
    NELMORA_INLINE static u32 apply(u32 d, i32 k)
    {
        const Hsb p = toHsb(d);
        return (k == 0 || p.s == 0) ? d : fromHsb(p.h, clampAdd(p.s, k), p.v);
    }
};
struct BrightnessShift {
    NELMORA_INLINE static u32 apply(u32 d, i32 k)
    {
        const Hsb p = toHsb(d);
        return k == 0 ? d : fromHsb(p.h, p.s, clampAdd(p.v, k));
    }
};

template <typename Op>
void hsbRows(uint32_t* __restrict pixels, const int32_t* __restrict coverage, int32_t count, int32_t strength)
{
    for (i32 i = 0; i < count; ++i) {
        const i32 m = coverage[i];
        const u32 d = pixels[i];
        const u32 r = Op::apply(d, wmul(m, strength) >> 8);
        pixels[i] = m != 0 ? r : d;
    }
}

template <typename Op>
void hsbRun(uint32_t* pixels, const uint8_t* coverage, int32_t count, int32_t strength)
{
    inWholeSteps(pixels, coverage, count,
                 [&](uint32_t* p, const int32_t* c, int32_t n) { hsbRows<Op>(p, c, n, strength); });
}

// --- displacements and filters ---------------------------------------------

// sampleBilinear with the image's constants hoisted.
struct Sampler {
    const u32* pixels;
    i32 width, height, stride, nextX, nextY;
    explicit Sampler(const Image& image)
        : pixels(image.pixels), width(image.width), height(image.height), stride(image.stride),
          nextX(image.width > 1 ? 1 : 0), nextY(image.height > 1 ? image.stride : 0)
    {
    }
    u32 bilinear(i32 x, i32 y) const
    {
        const i32 ix = imax(0, imin(x < 0 ? 0 : x >> 8, width - 2));
        const i32 iy = imax(0, imin(y < 0 ? 0 : y >> 8, height - 2));
        const i32 at = iy * stride + ix;
        const u32 upper = mixIn(pixels[at], pixels[at + nextX], x & 0xFF);
        const u32 lower = mixIn(pixels[at + nextY], pixels[at + nextY + nextX], x & 0xFF);
        return mixIn(upper, lower, y & 0xFF);
    }
    u32 nearest(i32 x, i32 y) const
    {
        return pixels[imin(imax(y >> 8, 0), height - 1) * stride + imin(imax(x >> 8, 0), width - 1)];
    }
};

// Bilinear samples of a batch of positions. A level may bring its own
// (NELMORA_KERNEL_BILINEAR, for images of at least 2 x 2 pixels), which may
// read and write up to the next multiple of 8 entries: callers set them.
inline constexpr i32 kBatchPad = 8;
inline i32 padded(i32 n) { return (n + kBatchPad - 1) & ~(kBatchPad - 1); }

inline void bilinearBatch(const Image& image, i32* __restrict xs, i32* __restrict ys, i32 count,
                          u32* __restrict out)
{
    for (i32 i = count; i < padded(count); ++i) xs[i] = ys[i] = 0;
#ifdef NELMORA_KERNEL_BILINEAR
    if (image.width >= 2 && image.height >= 2)
        return NELMORA_KERNEL_BILINEAR(image.pixels, image.stride, image.width, image.height, xs, ys, padded(count),
                                       out);
#endif
    const Sampler sampler(image);
    for (i32 i = 0; i < count; ++i) out[i] = sampler.bilinear(xs[i], ys[i]);
}

// Positions first, then all samples as one batch, then the select.
template <int Op>
void displaceRun(const Image& image, uint32_t* __restrict out, const uint8_t* __restrict coverage, int32_t count,
                 int32_t column, int32_t row, const DisplaceParams& params, const int32_t* __restrict drawn)
{
    alignas(32) i32 xs[kMaxRun + kBatchPad], ys[kMaxRun + kBatchPad];
    alignas(32) u32 samples[kMaxRun + kBatchPad];
    const i32 strength = params.strength, py = row << 8, ry = wsub(py, params.y);
    const i32 pullX = params.pullX, pullY = params.pullY, thickness = params.thickness;
    for (i32 i = 0; i < count; ++i) {
        const i32 m = coverage[i];
        const i32 k = wmul(m, strength) >> 8;
        const i32 px = (column + i) << 8;
        const i32 rx = wsub(px, params.x);
        i32 ox = 0, oy = 0;
        if constexpr (Op == 1) {
            ox = wmul(ry, k) >> 16;
            oy = wmul(wneg(rx), k) >> 16;
        } else if constexpr (Op == 2) {
            ox = wneg(wmul(pullX, k)) >> 16;
            oy = wmul(pullY, k) >> 16;
        } else if constexpr (Op == 3) {
            ox = wmul(rx, k) >> 16;
            oy = wmul(ry, k) >> 16;
        } else if constexpr (Op == 4) {
            ox = wmul(drawn[i], k) >> 12;
            oy = wmul(drawn[kDrawnStride + i], k) >> 12;
        } else {
            const i32 dist = wmul(wmul(drawn[i], k) >> 20, thickness) >> 16;
            const i32 a = wadd(rx, 128) >> 8, b = wadd(ry, 128) >> 8;
            const i32 f = wadd(a, b);
            const bool odd = (f & 1) != 0;
            ox = odd ? dist : wneg(dist);
            oy = odd ? ((f & 2) ? dist : wneg(dist)) : ((wsub(a, b) & 2) ? wneg(dist) : dist);
        }
        xs[i] = wadd(px, ox);
        ys[i] = wadd(py, oy);
    }
    bilinearBatch(image, xs, ys, count, samples);
    for (i32 i = 0; i < count; ++i) out[i] = coverage[i] != 0 ? samples[i] : out[i];
}

NELMORA_INLINE u32 averageOf5(u32 a, u32 b, u32 c, u32 d, u32 e)
{
    // (sum + 2) / 5 for sums up to 1277, as a multiply and shift.
    auto avg = [&](int shift) {
        const u32 sum = ((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + ((c >> shift) & 0xFF) +
                        ((d >> shift) & 0xFF) + ((e >> shift) & 0xFF) + 2;
        return ((sum * 52429u) >> 18) << shift;
    };
    return avg(16) | avg(8) | avg(0);
}

NELMORA_INLINE u32 averageOf8(u32 a, u32 b, u32 c, u32 d, u32 p)
{
    auto avg = [&](int shift) {
        const u32 sum = ((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + ((c >> shift) & 0xFF) +
                        ((d >> shift) & 0xFF) + 4 * ((p >> shift) & 0xFF) + 4;
        return (sum >> 3) << shift;
    };
    return avg(16) | avg(8) | avg(0);
}

// Bilinear samples at one fraction along an image row: sample i mixes
// pixels i and i + 1 of `upper` and of the row below. A level may bring its
// own (NELMORA_KERNEL_BILINEAR_ROW).
[[maybe_unused]] inline void bilinearAlongRow(const u32* __restrict upper, i32 stride, i32 fx, i32 fy, i32 count,
                                              u32* __restrict out)
{
    const u32* __restrict lower = upper + stride;
    for (i32 i = 0; i < count; ++i)
        out[i] = mixIn(mixIn(upper[i], upper[i + 1], fx), mixIn(lower[i], lower[i + 1], fx), fy);
}

// Mosaic's sample at a fixed offset from each pixel of the run, as one
// batch: when the run's samples all lie whole on the image, away from its
// clamped edges, they read one image row pair in order.
inline void offsetSamples(const Image& image, i32 column, i32 py, i32 offsetX, i32 offsetY, i32 count,
                          i32* __restrict xs, i32* __restrict ys, u32* __restrict out)
{
    const i32 y = wadd(py, offsetY);
    const int64_t firstX = (int64_t(column) << 8) + offsetX;
    if (image.width >= 2 && image.height >= 2 && firstX >= 0 && (firstX >> 8) + count - 1 <= image.width - 2) {
        const i32 iy = imax(0, imin(y < 0 ? 0 : y >> 8, image.height - 2));
        const u32* upper = image.pixels + int64_t(iy) * image.stride + (firstX >> 8);
#ifdef NELMORA_KERNEL_BILINEAR_ROW
        return NELMORA_KERNEL_BILINEAR_ROW(upper, image.stride, offsetX & 0xFF, y & 0xFF, count, out);
#else
        return bilinearAlongRow(upper, image.stride, offsetX & 0xFF, y & 0xFF, count, out);
#endif
    }
    for (i32 i = 0; i < count; ++i) xs[i] = wadd((column + i) << 8, offsetX), ys[i] = y;
    bilinearBatch(image, xs, ys, count, out);
}

// The four samples of pixel i are entries i, n + i, 2n + i, 3n + i of one batch.
template <int Op>
void filterRun(const Image& image, uint32_t* __restrict out, const uint8_t* __restrict coverage, int32_t count,
               int32_t column, int32_t row, const FilterParams& params)
{
    alignas(32) i32 xs[4 * kMaxRun + kBatchPad], ys[4 * kMaxRun + kBatchPad];
    alignas(32) u32 samples[4 * kMaxRun + kBatchPad];
    const Sampler sampler(image);
    const i32 strength = params.strength, py = row << 8, u = params.u, w = params.w, n = count;
    if constexpr (Op == 1) {
        // One simple loop per sample direction, so each one vectorises.
        alignas(32) i32 offsets[kMaxRun];
        for (i32 i = 0; i < n; ++i) offsets[i] = (wmul(coverage[i], strength) >> 8) >> 6;
        auto place = [&](i32* __restrict x, i32* __restrict y, i32 signX, i32 signY) {
            for (i32 i = 0; i < n; ++i) {
                x[i] = wadd((column + i) << 8, wmul(offsets[i], signX));
                y[i] = wadd(py, wmul(offsets[i], signY));
            }
        };
        place(xs, ys, 1, 1);
        place(xs + n, ys + n, -1, -1);
        place(xs + 2 * n, ys + 2 * n, 1, -1);
        place(xs + 3 * n, ys + 3 * n, -1, 1);
        bilinearBatch(image, xs, ys, 4 * n, samples);
    } else {
        offsetSamples(image, column, py, w, u, n, xs, ys, samples);
        offsetSamples(image, column, py, wneg(w), wneg(u), n, xs, ys, samples + n);
        offsetSamples(image, column, py, u, wneg(w), n, xs, ys, samples + 2 * n);
        offsetSamples(image, column, py, wneg(u), w, n, xs, ys, samples + 3 * n);
    }
    for (i32 i = 0; i < n; ++i) {
        const i32 m = coverage[i];
        const i32 k = wmul(m, strength) >> 8;
        const u32 p = sampler.nearest((column + i) << 8, py);
        const u32 average = Op == 1 ? averageOf5(p, samples[i], samples[n + i], samples[2 * n + i], samples[3 * n + i])
                                    : averageOf8(samples[i], samples[n + i], samples[2 * n + i], samples[3 * n + i], p);
        const u32 r = k == 0 ? p : mixAny(p, average, k >> 8);
        out[i] = m != 0 ? r : out[i];
    }
}

[[maybe_unused]] void sampleMap(const uint8_t* __restrict map, int32_t stride, int32_t u, int32_t v, int32_t du,
                                int32_t dv, int32_t count, uint8_t* __restrict out)
{
    for (i32 i = 0; i < count; ++i, u += du, v += dv) out[i] = map[(v >> 8) * stride + (u >> 8)];
}

[[maybe_unused]] void sampleRun(const uint8_t* __restrict row, int32_t, int32_t u, int32_t du, int32_t count,
                                uint8_t* __restrict out)
{
    for (i32 i = 0; i < count; ++i, u += du) out[i] = row[u >> 8];
}

}  // namespace

#ifndef NELMORA_KERNEL_NORMAL
#define NELMORA_KERNEL_NORMAL colorRun<Normal>
#endif

#ifndef NELMORA_KERNEL_SATURATION_SHIFT
#define NELMORA_KERNEL_SATURATION_SHIFT hsbRun<SaturationShift>
#endif
#ifndef NELMORA_KERNEL_BRIGHTNESS_SHIFT
#define NELMORA_KERNEL_BRIGHTNESS_SHIFT hsbRun<BrightnessShift>
#endif

#ifndef NELMORA_KERNEL_SAMPLE
#define NELMORA_KERNEL_SAMPLE sampleMap
#endif
#ifndef NELMORA_KERNEL_SAMPLE_RUN
#define NELMORA_KERNEL_SAMPLE_RUN sampleRun
#endif

extern const DabKernels table;
const DabKernels table{
    NELMORA_KERNEL_LEVEL,
    NELMORA_KERNEL_LANES,
    NELMORA_KERNEL_SAMPLE,
    NELMORA_KERNEL_SAMPLE_RUN,
    hsbByCoverage,
    {nullptr, NELMORA_KERNEL_NORMAL, colorRun<Add>, colorRun<Subtract>, colorRun<AddSubtract>,
     colorRun<Multiply>, colorRun<InverseMultiply>, colorRun<Lighten>, colorRun<Darken>, colorRun<Light>,
     colorRun<InverseLight>, colorRun<Hue>, colorRun<Saturation>, colorRun<Brightness>,
     colorRun<HueSaturation>},
#ifdef NELMORA_KERNEL_NORMAL_SAMPLED
    NELMORA_KERNEL_NORMAL_SAMPLED,
#else
    nullptr,
#endif
    {nullptr, hsbRun<HueShift>, NELMORA_KERNEL_SATURATION_SHIFT, NELMORA_KERNEL_BRIGHTNESS_SHIFT},
    {nullptr, displaceRun<1>, displaceRun<2>, displaceRun<3>, displaceRun<4>, displaceRun<5>},
    {nullptr, filterRun<1>, filterRun<2>},
};

}  // namespace nelmora::NELMORA_KERNEL_NS
