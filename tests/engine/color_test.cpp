#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "engine/color.h"

namespace nelmora {
namespace {

std::tuple<int32_t, int32_t, int32_t> hsb(uint32_t color)
{
    int32_t h = -1, s = -1, v = -1;
    rgbToHsb(color, h, s, v);
    return {h, s, v};
}

TEST(RgbToHsb, BlackWhiteAndGreys)
{
    EXPECT_EQ(hsb(0x000000), std::make_tuple(0, 0, 0));
    EXPECT_EQ(hsb(0xFFFFFF), std::make_tuple(0, 0, 0xFFFF));
    EXPECT_EQ(hsb(0x808080), std::make_tuple(0, 0, 0x80FF));
}

TEST(RgbToHsb, PrimariesSecondariesAndAMixedColor)
{
    EXPECT_EQ(hsb(0xFF0000), std::make_tuple(0, 0xFFFF, 0xFFFF));
    EXPECT_EQ(hsb(0x00FF00), std::make_tuple(0x5555, 0xFFFF, 0xFFFF));
    EXPECT_EQ(hsb(0x0000FF), std::make_tuple(0xAAAA, 0xFFFF, 0xFFFF));
    EXPECT_EQ(std::get<0>(hsb(0xFFFF00)), 0x2AAA);  // tie resolves to the red case
    EXPECT_EQ(std::get<0>(hsb(0x00FFFF)), 0x7FFF);
    EXPECT_EQ(std::get<0>(hsb(0xFF00FF)), 0xD555);
    EXPECT_EQ(hsb(0x123456), std::make_tuple(0x9555, 0xCA6A, 0x56FF));
}

TEST(HsbToRgb, FullySaturatedColorsPeakAt254)
{
    EXPECT_EQ(hsbToRgb(0, 0xFFFF, 0xFFFF), 0x00FE0000u);
    EXPECT_EQ(hsbToRgb(0x5555, 0xFFFF, 0xFFFF), 0x0000FE00u);
    EXPECT_EQ(hsbToRgb(0xAAAA, 0xFFFF, 0xFFFF), 0x000000FEu);
    EXPECT_EQ(hsbToRgb(0, 0, 0xFFFF), 0x00FFFFFFu);
    EXPECT_EQ(hsbToRgb(0x1234, 0xFFFF, 0), 0u);
}

TEST(HsbToRgb, ExtremeInputsWrapWithoutOverflow)
{
    // Out-of-range values only come from unclamped slots; they must stay defined.
    EXPECT_EQ(hsbToRgb(0, INT32_MIN, 0), 0u);
    (void)hsbToRgb(INT32_MAX, INT32_MAX, INT32_MAX);
    (void)hsbToRgb(-1, INT32_MIN, INT32_MIN);
}

TEST(HsbToRgb, RoundTrips)
{
    auto roundTrip = [](uint32_t c) {
        auto [h, s, v] = hsb(c);
        return hsbToRgb(h, s, v);
    };
    EXPECT_EQ(roundTrip(0x123456), 0x123456u);
    for (uint32_t g = 0; g < 256; g += 17) EXPECT_EQ(roundTrip(g * 0x010101u), g * 0x010101u) << g;
    EXPECT_EQ(roundTrip(0xFF0000), 0xFE0000u);
    EXPECT_EQ(roundTrip(0xFF00FF), 0xFF00FEu);
}

TEST(MixColor, WeightsAndRounding)
{
    EXPECT_EQ(mixColor(0x12345678, 0xFFFFFF, 0), 0x12345678u);
    EXPECT_EQ(mixColor(0, 0xAB123456, 256), 0xAB123456u);
    EXPECT_EQ(mixColor(0x000000, 0xFFFFFF, 128), 0xFF808080u);
    EXPECT_EQ(mixColor(0x000000, 0xFFFFFF, 1), 0xFF010101u);
    // Out-of-range weights wrap to the low byte instead of failing.
    EXPECT_EQ(mixColor(0x000000, 0x000001, 512) & 0xFF, 2u);
    EXPECT_EQ(mixColor(0x000000, 0x0000FF, -256) & 0xFF, 1u);
}

class Sampler : public ::testing::Test {
protected:
    // A 3 x 2 image: columns black, white, grey 0x40 in row 0; row 1 all 0x202020.
    void SetUp() override
    {
        image.reset(createImage(3, 2, 0, 0, 0x202020));
        image->at(0, 0) = 0x000000;
        image->at(1, 0) = 0xFFFFFF;
        image->at(2, 0) = 0x404040;
    }
    ImagePtr image;
};

TEST_F(Sampler, WholePixelPositionsReturnThePixel)
{
    EXPECT_EQ(sampleBilinear(*image, 256, 0), 0xFFFFFFu);
    EXPECT_EQ(sampleBilinear(*image, 0, 0), 0x000000u);
    // The last row has no row below: the clamped read returns the row above.
    EXPECT_EQ(sampleBilinear(*image, 0, 256), 0x000000u);
}

TEST_F(Sampler, HalfwayMixesNeighbours)
{
    EXPECT_EQ(sampleBilinear(*image, 128, 0), 0xFF808080u);
}

TEST_F(Sampler, ClampsOutsidePositionsButKeepsTheLowByte)
{
    // x = -10: column 0 mixed with column 1 at weight 246.
    EXPECT_EQ(sampleBilinear(*image, -10, 0), mixColor(0x000000, 0xFFFFFF, 246));
    // Beyond the last column: the last two columns, weighted by the low byte.
    EXPECT_EQ(sampleBilinear(*image, 10 * 256 + 64, 0), mixColor(0xFFFFFF, 0x404040, 64));
    EXPECT_EQ(sampleBilinear(*image, 2 * 256, 0), 0xFFFFFFu);  // last column reads its left neighbour
    EXPECT_EQ(sampleBilinear(*image, 0, 5 * 256), 0x000000u);
}

TEST(SamplerEdge, OnePixelImageNeverReadsOutside)
{
    ImagePtr tiny(createImage(1, 1, 0, 0, 0x123456));
    EXPECT_EQ(sampleBilinear(*tiny, 77, 300) & 0xFFFFFF, 0x123456u);
}

}  // namespace
}  // namespace nelmora
