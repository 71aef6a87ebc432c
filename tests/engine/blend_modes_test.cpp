// Expected pixels are worked out by hand from the mode formulas; the
// intermediate values are noted where they are not obvious.
#include <gtest/gtest.h>

#include <climits>

#include "engine/blend_modes.h"
#include "engine/random.h"
#include "image/tables.h"

namespace nelmora {
namespace {

// Color operation `op` of the color group; a code without a mode keeps D,
// as the dab leaves such pixels alone.
uint32_t color(int op, uint32_t d, uint32_t n, int32_t a)
{
    const BlendMode* mode = findBlendMode(kColorGroup | op);
    return mode ? mode->color(d, n, a) : d;
}

// Displacement operation `op`; a code without a mode moves nothing.
Offset displace(int op, const SlotValues& values, int32_t rx, int32_t ry, int32_t k, RandomState& random)
{
    const BlendMode* mode = findBlendMode(kDisplacementGroup | op);
    return mode ? mode->displacement(values, rx, ry, k, random) : Offset{0, 0};
}

TEST(BlendModeTables, CodesNamesAndIdentityEntries)
{
    EXPECT_EQ(blendModeCode(0), 0x101);
    EXPECT_EQ(blendModeCode(13), 0x10E);
    EXPECT_EQ(blendModeCode(14), 0x201);
    EXPECT_EQ(blendModeCode(17), 0x301);
    EXPECT_EQ(blendModeCode(21), 0x305);
    EXPECT_EQ(blendModeCode(23), 0x402);

    const NameList& names = blendModeNames();
    ASSERT_EQ(names.count(), kBlendModeCount);
    EXPECT_EQ(names.entry(0), std::string_view("\x92\xca\x8f\xed\x20\x20"));  // 通常
    EXPECT_EQ(names.entry(20), std::string_view("\x8a\x67\x8e\x55\x82\x50"));  // 拡散１
    EXPECT_EQ(names.entry(23), std::string_view("\xd3\xbb\xde\xb2\xb8\x20"));  // half-width mosaic
    for (int i = 0; i < kBlendModeCount; ++i) EXPECT_EQ(names.bytes[size_t(i * 7 + 6)], '\0');

    EXPECT_EQ(findBlendMode(0x100), nullptr);
    EXPECT_EQ(findBlendMode(0x10F), nullptr);
    EXPECT_EQ(color(0, 0x12345678, 0xFFFFFF, 200), 0x12345678u);
    EXPECT_EQ(color(15, 0x12345678, 0xFFFFFF, 200), 0x12345678u);
}

// Pens store the index, and a pen file can hold any number there: every
// index outside the table names no mode (the test build aborts on an
// out-of-range table read instead of returning a neighbour's bytes).
TEST(BlendModeTables, IndicesOutsideTheTableHaveNoCode)
{
    EXPECT_EQ(blendModeCode(kBlendModeCount - 1), 0x402);
    for (int32_t index : {kBlendModeCount, kBlendModeCount + 1, -1, -kBlendModeCount, INT32_MIN, INT32_MAX})
        EXPECT_EQ(blendModeCode(index), 0) << index;
    EXPECT_EQ(findBlendMode(0), nullptr);
}

TEST(ColorModes, Normal)
{
    EXPECT_EQ(color(1, 0x102030, 0xF0E0D0, 128), 0xFF808080u);  // each channel pair sums to 256
    EXPECT_EQ(color(1, 0x12102030, 0xF0E0D0, 0), 0x12102030u);  // alpha 0 keeps even the top byte
    // Strength 0xFFFF on a full map byte gives alpha 254: a trace of the old pixel remains.
    EXPECT_EQ(color(1, 0xFFFFFF, 0xFE0000, 254), 0xFFFE0202u);
}

TEST(ColorModes, AddSaturatesPerChannelOnTheUpperSevenBits)
{
    EXPECT_EQ(color(2, 0xFF8181, 0x123456, 0), 0x00FE8080u);     // S black: low bits cleared
    EXPECT_EQ(color(2, 0x800000, 0x800000, 256), 0x00FF0000u);   // 0x80 + 0x80 saturates
    EXPECT_EQ(color(2, 0x7F0000, 0x800000, 256), 0x00FE0000u);   // 0x7E + 0x80
    EXPECT_EQ(color(2, 0x405060, 0xFFFFFF, 128), 0x00C0D0E0u);   // S = 0x808080
    EXPECT_EQ(color(2, 0xC01020, 0xFFFFFF, 128), 0x00FF90A0u);   // only red saturates
}

TEST(ColorModes, SubtractFloorsAtZero)
{
    EXPECT_EQ(color(3, 0x646565, 0x123456, 0), 0x00626262u);  // S white: minus 2 or 3
    EXPECT_EQ(color(3, 0x010000, 0x123456, 0), 0x00000000u);
    EXPECT_EQ(color(3, 0x8090A0, 0x000000, 128), 0x00001020u);  // S = 0x808080
}

TEST(ColorModes, AddSubtract)
{
    EXPECT_EQ(color(4, 0x123456, 0xABCDEF, 0), 0xFF123456u);  // S = 0x808080 cancels
    EXPECT_EQ(color(4, 0x10F080, 0xFFFFFF, 128), 0xFF50FFC0u);  // S = 0xC0C0C0; green clamps high
    EXPECT_EQ(color(4, 0x10F080, 0x000000, 128), 0xFF00B040u);  // S = 0x404040; red clamps low
}

TEST(ColorModes, MultiplyAndInverseMultiply)
{
    EXPECT_EQ(color(5, 0x80FF01, 0x000000, 0), 0xFF7FFE00u);    // (D * 255) >> 8
    EXPECT_EQ(color(5, 0x80FF01, 0x000000, 128), 0xFF407F00u);  // S = 0x808080
    EXPECT_EQ(color(6, 0x80FF00, 0xFFFFFF, 0), 0xFF81FF01u);    // S black
    EXPECT_EQ(color(6, 0x80FF00, 0xFFFFFF, 128), 0xFFC0FF81u);  // S = 0x808080
}

TEST(ColorModes, LightenAndDarken)
{
    EXPECT_EQ(color(7, 0x20A040, 0x808080, 128), 0xFF50A060u);
    EXPECT_EQ(color(8, 0x20A040, 0x808080, 128), 0xFF209040u);
}

TEST(ColorModes, LightSpillsOverflowIntoTheOtherChannels)
{
    // S = mixColor(0, 0x400000, 128) = 0x200000: red t = 272, spill 9.
    EXPECT_EQ(color(9, 0xF0F000, 0x400000, 128), 0xFFFFF909u);
    // S = 0x808080: red t = 320, spill 33 into green 0x90 and blue 0x80.
    EXPECT_EQ(color(9, 0xC01000, 0xFFFFFF, 128), 0xFFFFB1A1u);
}

TEST(ColorModes, InverseLightSpillsUnderflow)
{
    // S = 0x808080: red t = -64, spill -33; blue t = 0 spills nothing.
    EXPECT_EQ(color(10, 0x40F080, 0x000000, 128), 0xFF004F00u);
    // S white: t = D - 1; blue -1 spills (-1 >> 1) - 1 = -2.
    EXPECT_EQ(color(10, 0x808000, 0x123456, 0), 0xFF7D7D00u);
}

TEST(ColorModes, HueSaturationBrightnessComposites)
{
    // A grey has no hue to take: it stays grey, rebuilt with top byte 0.
    EXPECT_EQ(color(11, 0x808080, 0xFF0000, 128), 0x00808080u);
    // Red towards blue: X = 0x0000FE, Y = 0xFF0200FC (hue 0xAB00), back at full saturation.
    EXPECT_EQ(color(11, 0xFF0000, 0x0000FF, 254), 0x000100FEu);
    // Grey takes red's saturation: 0x800000, mixed half way.
    EXPECT_EQ(color(12, 0x808080, 0xFF0000, 128), 0xFF804040u);
    // Red takes black's brightness 0, mixed half way.
    EXPECT_EQ(color(13, 0xFF0000, 0x000000, 128), 0xFF800000u);
    // Grey takes green's hue and saturation: X = 0x008000, Y = 0xFF018001
    // (hue 0x5555, saturation 65022), rebuilt at the grey's brightness.
    EXPECT_EQ(color(14, 0x808080, 0x00FF00, 254), 0x00018001u);
}

TEST(TakeHsb, EachHelperTakesItsPartFromTheSecondColor)
{
    EXPECT_EQ(takeHue(0xFF0000, 0x00FF00), 0x0000FE00u);
    EXPECT_EQ(takeSaturation(0x808080, 0xFF0000), 0x00800000u);
    EXPECT_EQ(takeBrightness(0xFF0000, 0x000000), 0x00000000u);
    EXPECT_EQ(takeHueSaturation(0x808080, 0x00FF00), 0x00008000u);
}

TEST(HsbShift, HuePlus)
{
    EXPECT_EQ(hsbShift(0x00FF0000, 0, 0x201), 0x00FF0000u);      // k = 0 untouched
    EXPECT_EQ(hsbShift(0x00FF0000, 0x10000, 0x201), 0x00FE0000u);  // full turn, still converted
    EXPECT_EQ(hsbShift(0x00FF0000, 0x5555, 0x201), 0x0000FE00u);   // to green
    EXPECT_EQ(hsbShift(0x00FF0000, -0x5555, 0x201), 0x000000FEu);  // hue 0xAAAB: blue
}

TEST(HsbShift, SaturationPlusLeavesGreysAlone)
{
    EXPECT_EQ(hsbShift(0x11808080, 0x7FFFFFF, 0x202), 0x11808080u);
    EXPECT_EQ(hsbShift(0xFF8080, 0x10000, 0x202), 0x00FE0000u);   // clamps to full saturation
    EXPECT_EQ(hsbShift(0xFF8080, -0x10000, 0x202), 0x00FFFFFFu);  // clamps to 0: white
}

TEST(HsbShift, BrightnessPlusAndUnknownCodes)
{
    EXPECT_EQ(hsbShift(0xFF0000, -0x8000, 0x203), 0x007F0000u);
    EXPECT_EQ(hsbShift(0x000000, 0x10000, 0x203), 0x00FFFFFFu);
    EXPECT_EQ(hsbShift(0x123456, 0x1000, 0x204), 0x123456u);
    EXPECT_EQ(hsbShift(0x123456, 0x1000, 0x101), 0x123456u);
}

struct WithValues : ::testing::Test {
    SlotValues values{};
    RandomState random;
};

using DisplacementModes = WithValues;

TEST_F(DisplacementModes, RotateAndSuckInScaleTheOffsetFromTheCentre)
{
    const Offset r = displace(1, values, 0x100, 0x200, 0x8000, random);
    EXPECT_EQ(r.x, 0x100);
    EXPECT_EQ(r.y, -0x80);
    const Offset s = displace(3, values, 0x100, 0x200, 0x8000, random);
    EXPECT_EQ(s.x, 0x80);
    EXPECT_EQ(s.y, 0x100);
    EXPECT_EQ(displace(3, values, -1, 0, 1, random).x, -1);  // arithmetic shift rounds down
    EXPECT_EQ(displace(0, values, 0x100, 0x200, 0x8000, random).x, 0);
    EXPECT_EQ(displace(6, values, 0x100, 0x200, 0x8000, random).y, 0);
    EXPECT_EQ(random.value, 1u);  // none of them draws
}

TEST_F(DisplacementModes, PullReadsAgainstTheMotionAngle)
{
    values[slot::interval] = 0x10000;
    values[slot::thickness] = 0x20000;
    values[slot::motionAngle] = 0x4000;  // moving right
    // L = 0x100 * 0x200; ((256 * L) >> 10) = 32768; * 256 >> 16 = 128.
    const Offset o = displace(2, values, 0, 0, 0x100, random);
    EXPECT_EQ(o.x, -128);
    EXPECT_EQ(o.y, 0);
}

TEST_F(DisplacementModes, Diffuse1DrawsARandomDirection)
{
    // A fresh generator: first draw 41, angle 82, cos 255, sin 2.
    values[slot::thickness] = 0x10000;
    const Offset o = displace(4, values, 0, 0, 0x1000, random);
    EXPECT_EQ(o.x, 255);
    EXPECT_EQ(o.y, 2);
}

TEST_F(DisplacementModes, Diffuse2AlternatesDiagonalsOnAPixelChecker)
{
    // A fresh generator draws 41, 18467, 6334, 26500; with k = 0x10000 d = r >> 4.
    values[slot::thickness] = 0x10000;
    const DisplacementOp op = findBlendMode(0x305)->displacement;
    Offset o = op(values, 0, 0, 0x10000, random);  // f = 0, g = 0
    EXPECT_EQ(o.x, -2);
    EXPECT_EQ(o.y, 2);
    o = op(values, 256, 127, 0x10000, random);  // a = 1, b = 0: f odd, f & 2 clear
    EXPECT_EQ(o.x, 1154);
    EXPECT_EQ(o.y, -1154);
    o = op(values, 512, 0, 0x10000, random);  // f = 2 even, g = 2
    EXPECT_EQ(o.x, -395);
    EXPECT_EQ(o.y, -395);
    o = op(values, 128, 512, 0x10000, random);  // 128 rounds up to a = 1; f = 3
    EXPECT_EQ(o.x, 1656);
    EXPECT_EQ(o.y, 1656);
}

struct FilterModes : WithValues {
    void SetUp() override
    {
        image.reset(createImage(5, 5, 0, 0, 0));
        ASSERT_TRUE(image);
    }
    ImagePtr image;
};

TEST_F(FilterModes, BlurAveragesFiveReadsAndMixesByAmount)
{
    image->at(1, 1) = 0x320000;  // red 50, 100, 150, 200 on the diagonals of (2, 2)
    image->at(3, 1) = 0x640000;
    image->at(1, 3) = 0x960000;
    image->at(3, 3) = 0xC80000;
    // k = 0x4000: s = one pixel; average red (500 + 2) / 5 = 100, mixed at 64/256.
    EXPECT_EQ(filterOp(*image, values, 512, 512, 0x4000, 0x401), 0xFF190000u);
    EXPECT_EQ(filterOp(*image, values, 512, 512, 0, 0x401), 0u);
    image->at(2, 2) = 0x00000001;
    EXPECT_EQ(filterOp(*image, values, 512, 512, 0xFF, 0x401), 0x00000001u);  // weight 0
}

TEST_F(FilterModes, MosaicAveragesARotatedCrossWithTheCentreFourTimes)
{
    image->at(3, 2) = 0x280000;  // red 40, 80, 120, 160 on the cross around (2, 2)
    image->at(1, 2) = 0x500000;
    image->at(2, 1) = 0x780000;
    image->at(2, 3) = 0xA00000;
    values[slot::ex1] = 0;       // sin 0, cos 256
    values[slot::ex2] = 0x1000;  // w = one pixel, u = 0
    // (400 + 4) / 8 = 50; weight 256 takes the average whole, top byte 0.
    EXPECT_EQ(filterOp(*image, values, 512, 512, 0x10000, 0x402), 0x00320000u);
    EXPECT_EQ(filterOp(*image, values, 512, 512, 0x10000, 0x403), 0u);
}

}  // namespace
}  // namespace nelmora
