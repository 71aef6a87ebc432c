#include "engine/blend_modes.h"

#include <algorithm>
#include <vector>

#include "engine/color.h"
#include "engine/random.h"
#include "engine/wrap_int.h"
#include "image/tables.h"

namespace nelmora {

namespace {

constexpr uint32_t kTopFF = 0xFF000000u;
constexpr uint32_t kHighSevenBits = 0xFEFEFEu;
constexpr uint32_t kChannelCarries = 0x1010100u;

inline int32_t channel(uint32_t c, int shift) { return int32_t((c >> shift) & 0xFF); }
inline uint32_t pack(int32_t r, int32_t g, int32_t b, uint32_t top)
{
    return top | (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) | uint32_t(b & 0xFF);
}
inline int32_t clampByte(int32_t v) { return std::clamp(v, 0, 255); }

// Applies f to each channel pair of a and b; the result carries `top`.
template <typename F>
inline uint32_t perChannel(uint32_t a, uint32_t b, uint32_t top, F f)
{
    return pack(f(channel(a, 16), channel(b, 16)), f(channel(a, 8), channel(b, 8)), f(channel(a, 0), channel(b, 0)),
                top);
}

// --- color group -----------------------------------------------------------

uint32_t normal(uint32_t d, uint32_t n, int32_t a) { return mixColor(d, n, a); }

// Adds the upper seven bits of all three channels at once; a channel's carry
// lands in the (always clear) low bit of the channel above and becomes a mask.
uint32_t add(uint32_t d, uint32_t n, int32_t a)
{
    const uint32_t sum = (d & kHighSevenBits) + (mixColor(0, n, a) & kHighSevenBits);
    const uint32_t saturated = ((sum & kChannelCarries) >> 8) * 0xFF;
    return (sum & kHighSevenBits) | saturated;
}

uint32_t subtract(uint32_t d, uint32_t n, int32_t a)
{
    const uint32_t sum = (d & kHighSevenBits) + (mixColor(0xFFFFFF, n, a) & kHighSevenBits);
    const uint32_t kept = ((sum & kChannelCarries) >> 8) * 0xFF;
    return sum & kHighSevenBits & kept;
}

uint32_t addSubtract(uint32_t d, uint32_t n, int32_t a)
{
    return perChannel(d, mixColor(0x808080, n, a), kTopFF, [](int32_t x, int32_t s) { return clampByte(x + s - 128); });
}

uint32_t multiply(uint32_t d, uint32_t n, int32_t a)
{
    return perChannel(d, mixColor(0xFFFFFF, n, a), kTopFF, [](int32_t x, int32_t s) { return (x * s) >> 8; });
}

uint32_t inverseMultiply(uint32_t d, uint32_t n, int32_t a)
{
    return perChannel(d, mixColor(0, n, a), kTopFF,
                      [](int32_t x, int32_t s) { return 255 - (((255 - x) * (255 - s)) >> 8); });
}

uint32_t lighten(uint32_t d, uint32_t n, int32_t a)
{
    return mixColor(d, perChannel(d, n, kTopFF, [](int32_t x, int32_t y) { return std::max(x, y); }), a);
}

uint32_t darken(uint32_t d, uint32_t n, int32_t a)
{
    return mixColor(d, perChannel(d, n, kTopFF, [](int32_t x, int32_t y) { return std::min(x, y); }), a);
}

// A channel that overflows keeps 255 and passes half its excess, rounded up,
// to each of the other two.
uint32_t light(uint32_t d, uint32_t n, int32_t a)
{
    const uint32_t s = mixColor(0, n, a);
    int32_t t[3], spill[3];
    for (int i = 0; i < 3; ++i) {
        t[i] = channel(d, 16 - 8 * i) + channel(s, 16 - 8 * i);
        spill[i] = 0;
        if (t[i] > 255) {
            spill[i] = ((t[i] - 255) >> 1) + 1;
            t[i] = 255;
        }
    }
    return pack(std::min(t[0] + spill[1] + spill[2], 255), std::min(t[1] + spill[0] + spill[2], 255),
                std::min(t[2] + spill[0] + spill[1], 255), kTopFF);
}

// The mirror image of light: a channel that falls below 0 pulls the others down.
uint32_t inverseLight(uint32_t d, uint32_t n, int32_t a)
{
    const uint32_t s = mixColor(0xFFFFFF, n, a);
    int32_t t[3], spill[3];
    for (int i = 0; i < 3; ++i) {
        t[i] = channel(d, 16 - 8 * i) + channel(s, 16 - 8 * i) - 256;
        spill[i] = 0;
        if (t[i] < 0) {
            spill[i] = (t[i] >> 1) - 1;
            t[i] = 0;
        }
    }
    return pack(std::max(t[0] + spill[1] + spill[2], 0), std::max(t[1] + spill[0] + spill[2], 0),
                std::max(t[2] + spill[0] + spill[1], 0), kTopFF);
}

uint32_t hue(uint32_t d, uint32_t n, int32_t a) { return takeHue(d, mixColor(d, takeHue(d, n), a)); }
uint32_t saturation(uint32_t d, uint32_t n, int32_t a) { return mixColor(d, takeSaturation(d, n), a); }
uint32_t brightness(uint32_t d, uint32_t n, int32_t a) { return mixColor(d, takeBrightness(d, n), a); }
uint32_t hueSaturation(uint32_t d, uint32_t n, int32_t a)
{
    return takeHueSaturation(d, mixColor(d, takeHueSaturation(d, n), a));
}

// --- displacement group -----------------------------------------------------


Offset rotate(const SlotValues&, int32_t rx, int32_t ry, int32_t k, RandomState&)
{
    return {wrapMul(ry, k) >> 16, wrapMul(wrapNeg(rx), k) >> 16};
}

// Drags the pixels along the motion angle, by thickness times interval.
Offset pull(const SlotValues& values, int32_t, int32_t, int32_t k, RandomState&)
{
    const int32_t length = wrapMul(values[slot::interval] >> 8, values[slot::thickness] >> 8);
    const int32_t q = values[slot::motionAngle] & 0xFFFF;
    return {wrapNeg(wrapMul(wrapMul(sinTable()[q], length) >> 10, k)) >> 16,
            wrapMul(wrapMul(cosTable()[q], length) >> 10, k) >> 16};
}

Offset suckIn(const SlotValues&, int32_t rx, int32_t ry, int32_t k, RandomState&)
{
    return {wrapMul(rx, k) >> 16, wrapMul(ry, k) >> 16};
}

Offset diffuse1(const SlotValues& values, int32_t, int32_t, int32_t k, RandomState& random)
{
    const int32_t r = 2 * drawRandom(random);
    const int32_t t = values[slot::thickness] >> 8;
    return {wrapMul(wrapMul(cosTable()[r], t) >> 8, k) >> 12, wrapMul(wrapMul(sinTable()[r], t) >> 8, k) >> 12};
}

// Neighbouring whole pixels get offsets in alternating diagonal directions.
Offset diffuse2(const SlotValues& values, int32_t rx, int32_t ry, int32_t k, RandomState& random)
{
    const int32_t d = wrapMul(wrapMul(drawRandom(random), k) >> 20, values[slot::thickness]) >> 16;
    const int32_t a = wrapAdd(rx, 128) >> 8;
    const int32_t b = wrapAdd(ry, 128) >> 8;
    const int32_t f = wrapAdd(a, b);
    if (f & 1) return (f & 2) ? Offset{d, d} : Offset{d, wrapNeg(d)};
    return (wrapSub(a, b) & 2) ? Offset{wrapNeg(d), wrapNeg(d)} : Offset{wrapNeg(d), d};
}

// --- filter group -----------------------------------------------------------

// The pixel under a 24.8 position; positions outside the image read its border.
uint32_t pixelAt(const Image& image, int32_t x, int32_t y)
{
    return image.at(std::clamp(x >> 8, 0, image.width - 1), std::clamp(y >> 8, 0, image.height - 1));
}

// Per-channel (sum of `count` colors + count / 2) / count, top byte 0.
uint32_t average(const uint32_t* colors, int32_t count)
{
    int32_t sum[3] = {0, 0, 0};
    for (int32_t i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c) sum[c] += channel(colors[i], 16 - 8 * c);
    const int32_t half = count / 2;
    return pack((sum[0] + half) / count, (sum[1] + half) / count, (sum[2] + half) / count, 0);
}

uint32_t blur(const Image& image, const SlotValues&, int32_t x, int32_t y, int32_t k)
{
    const uint32_t p = pixelAt(image, x, y);
    if (k == 0) return p;
    const int32_t s = k >> 6;
    const uint32_t five[5] = {
        p,
        sampleBilinear(image, wrapAdd(x, s), wrapAdd(y, s)),
        sampleBilinear(image, wrapSub(x, s), wrapSub(y, s)),
        sampleBilinear(image, wrapAdd(x, s), wrapSub(y, s)),
        sampleBilinear(image, wrapSub(x, s), wrapAdd(y, s)),
    };
    return mixColor(p, average(five, 5), k >> 8);
}

uint32_t mosaic(const Image& image, const SlotValues& values, int32_t x, int32_t y, int32_t k)
{
    const uint32_t p = pixelAt(image, x, y);
    if (k == 0) return p;
    const int32_t q = values[slot::ex1] & 0xFFFF;
    const int32_t u = wrapMul(sinTable()[q], values[slot::ex2]) >> 12;
    const int32_t w = wrapMul(cosTable()[q], values[slot::ex2]) >> 12;
    const uint32_t eight[8] = {
        sampleBilinear(image, wrapAdd(x, w), wrapAdd(y, u)),
        sampleBilinear(image, wrapSub(x, w), wrapSub(y, u)),
        sampleBilinear(image, wrapAdd(x, u), wrapSub(y, w)),
        sampleBilinear(image, wrapSub(x, u), wrapAdd(y, w)),
        p, p, p, p,
    };
    return mixColor(p, average(eight, 8), k >> 8);
}

// Both colors converted afresh; the result takes the listed parts from b.
template <bool HueFromB, bool SaturationFromB, bool BrightnessFromB>
uint32_t combine(uint32_t a, uint32_t b)
{
    int32_t ha, sa, va, hb, sb, vb;
    rgbToHsb(a, ha, sa, va);
    rgbToHsb(b, hb, sb, vb);
    return hsbToRgb(HueFromB ? hb : ha, SaturationFromB ? sb : sa, BrightnessFromB ? vb : va);
}

// HSB group: one channel moved by k; brightness and saturation clamp.
inline int32_t clampAdd(int32_t x, int32_t k) { return int32_t(std::clamp<int64_t>(int64_t(x) + k, 0, 0xFFFF)); }

uint32_t hueShift(uint32_t d, int32_t k)
{
    if (k == 0) return d;
    int32_t h, s, v;
    rgbToHsb(d, h, s, v);
    return hsbToRgb(wrapAdd(h, k) & 0xFFFF, s, v);
}

uint32_t saturationShift(uint32_t d, int32_t k)
{
    if (k == 0) return d;
    int32_t h, s, v;
    rgbToHsb(d, h, s, v);
    if (s == 0) return d;  // a grey has no hue to saturate
    return hsbToRgb(h, clampAdd(s, k), v);
}

uint32_t brightnessShift(uint32_t d, int32_t k)
{
    if (k == 0) return d;
    int32_t h, s, v;
    rgbToHsb(d, h, s, v);
    return hsbToRgb(h, s, clampAdd(v, k));
}

}  // namespace

const std::array<BlendMode, kBlendModeCount> blendModes{{
    {0x101, "通常  ", normal, nullptr, nullptr, nullptr},
    {0x102, "加算  ", add, nullptr, nullptr, nullptr},
    {0x103, "減算  ", subtract, nullptr, nullptr, nullptr},
    {0x104, "加減算", addSubtract, nullptr, nullptr, nullptr},
    {0x105, "乗算  ", multiply, nullptr, nullptr, nullptr},
    {0x106, "逆乗算", inverseMultiply, nullptr, nullptr, nullptr},
    {0x107, "比較明", lighten, nullptr, nullptr, nullptr},
    {0x108, "比較暗", darken, nullptr, nullptr, nullptr},
    {0x109, "ライト", light, nullptr, nullptr, nullptr},
    {0x10A, "逆ﾗｲﾄ ", inverseLight, nullptr, nullptr, nullptr},
    {0x10B, "色相  ", hue, nullptr, nullptr, nullptr},
    {0x10C, "彩度  ", saturation, nullptr, nullptr, nullptr},
    {0x10D, "明度  ", brightness, nullptr, nullptr, nullptr},
    {0x10E, "色＋彩", hueSaturation, nullptr, nullptr, nullptr},
    {0x201, "色相＋", nullptr, hueShift, nullptr, nullptr},
    {0x202, "彩度＋", nullptr, saturationShift, nullptr, nullptr},
    {0x203, "明度＋", nullptr, brightnessShift, nullptr, nullptr},
    {0x301, "回転  ", nullptr, nullptr, rotate, nullptr},
    {0x302, "引張り", nullptr, nullptr, pull, nullptr},
    {0x303, "吸込み", nullptr, nullptr, suckIn, nullptr},
    {0x304, "拡散１", nullptr, nullptr, diffuse1, nullptr},
    {0x305, "拡散２", nullptr, nullptr, diffuse2, nullptr},
    {0x401, "ぼかし", nullptr, nullptr, nullptr, blur},
    {0x402, "ﾓｻﾞｲｸ ", nullptr, nullptr, nullptr, mosaic},
}};

const BlendMode* findBlendMode(int32_t code)
{
    for (const BlendMode& mode : blendModes)
        if (mode.code == (code & 0xFFF)) return &mode;
    return nullptr;
}

int32_t blendModeCode(int32_t blendIndex)
{
    return (blendIndex >= 0 && blendIndex < kBlendModeCount) ? blendModes[size_t(blendIndex)].code : 0;
}

const NameList& blendModeNames()
{
    static const NameList names = [] {
        std::vector<std::string_view> texts;
        for (const BlendMode& mode : blendModes) texts.push_back(mode.name);
        return makeNameList(texts);
    }();
    return names;
}

uint32_t hsbShift(uint32_t d, int32_t k, int32_t code)
{
    const BlendMode* mode = findBlendMode(code);
    return mode && mode->hsb ? mode->hsb(d, k) : d;
}

uint32_t filterOp(const Image& image, const SlotValues& values, int32_t x, int32_t y, int32_t k, int32_t code)
{
    const BlendMode* mode = findBlendMode(code);
    return mode && mode->filter ? mode->filter(image, values, x, y, k) : 0;
}

uint32_t takeHue(uint32_t a, uint32_t b) { return combine<true, false, false>(a, b); }
uint32_t takeSaturation(uint32_t a, uint32_t b) { return combine<false, true, false>(a, b); }
uint32_t takeBrightness(uint32_t a, uint32_t b) { return combine<false, false, true>(a, b); }
uint32_t takeHueSaturation(uint32_t a, uint32_t b) { return combine<true, true, false>(a, b); }

}  // namespace nelmora
