// Pixel values in these tests are worked out by hand from the mixing formula
// (old * (256 - a) + new * a + 128) >> 8 per channel.
#include <gtest/gtest.h>

#include <random>

#include "dab_reference.h"
#include "engine/blend_modes.h"
#include "engine/dab.h"
#include "engine/random.h"
#include "image/tables.h"

namespace nelmora {
namespace {

constexpr int32_t kRed = 0;        // hue
constexpr int32_t kBlue = 0xAAAA;  // hue

bool sameRect(const UpdateRect& a, const UpdateRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct DabFixture : ::testing::Test {
    void SetUp() override
    {
        Pen* pens[kPenCount]{};
        ASSERT_TRUE(makeDefaultPens(pens));
        disc = pens[0];
        freePen(pens[1]);
        image.reset(createImage(200, 200, 0, 0, 0xFFFFFF));
        clearUpdate(image->update);
        // Full strength, both colors saturated red, unscaled and unrotated.
        values = {kRed, 0xFFFF, 0xFFFF, kRed, 0xFFFF, 0xFFFF, 0x10000, 10000, 0, 0xFFFF};
    }
    void TearDown() override { freePen(disc); }
    int32_t dab(int32_t code, int32_t x, int32_t y)
    {
        return drawDab(*image, *disc->shape, values, code, x, y, random);
    }
    uint32_t px(int32_t x, int32_t y) const { return image->at(x, y); }
    void mark(int column, int row, uint8_t value) { disc->shape->coverage[row * 80 + column] = value; }
    void clearMap() { std::fill_n(disc->shape->coverage, 80 * 80, uint8_t(0)); }

    Pen* disc = nullptr;
    ImagePtr image;
    SlotValues values{};
    RandomState random;
};

TEST_F(DabFixture, UnscaledDabLandsMapCentreOnThePositionWithOneSparePixel)
{
    EXPECT_EQ(dab(0x101, 100 * 256, 100 * 256), 1);
    EXPECT_TRUE(sameRect(image->update, {59, 59, 141, 141}));
    // Map (40, 40) = 255 on pixel (100, 100): alpha 254 leaves a trace of white.
    EXPECT_EQ(px(100, 100), 0xFFFE0202u);
    EXPECT_EQ(px(121, 100), 0xFFFE0202u);  // map (61, 40) = 255
    EXPECT_EQ(px(122, 100), 0xFFFF8282u);  // map (62, 40) = 126: alpha 125
    EXPECT_EQ(px(139, 100), 0xFFFFF9F9u);  // map (79, 40) = 7: alpha 6
    EXPECT_EQ(px(60, 60), 0x00FFFFFFu);    // map (0, 0) = 0: untouched
    EXPECT_EQ(px(59, 100), 0x00FFFFFFu);   // the spare column
    EXPECT_EQ(px(140, 100), 0x00FFFFFFu);
}

TEST_F(DabFixture, QuarterTurnRotatesClockwiseOnScreen)
{
    clearMap();
    mark(50, 40, 255);  // ten map pixels right of the centre
    values[slot::angle] = 0x4000;
    dab(0x101, 100 * 256, 100 * 256);
    EXPECT_EQ(px(100, 110), 0xFFFE0202u);  // now ten pixels below
    EXPECT_EQ(px(110, 100), 0x00FFFFFFu);
    EXPECT_TRUE(sameRect(image->update, {59, 59, 141, 141}));
}

TEST_F(DabFixture, ThicknessScalesTheStamp)
{
    values[slot::thickness] = 0x20000;  // two image pixels per map pixel
    dab(0x101, 100 * 256, 100 * 256);
    EXPECT_TRUE(sameRect(image->update, {19, 19, 181, 181}));
    EXPECT_EQ(px(143, 100), 0xFFFE0202u);  // u = 15744: map (61, 40)
    EXPECT_EQ(px(144, 100), 0xFFFF8282u);  // u = 15872: map (62, 40)

    auto tiny = ImagePtr(createImage(200, 200, 0, 0, 0xFFFFFF));
    clearUpdate(tiny->update);
    image.swap(tiny);
    values[slot::thickness] = 0x100;  // 1/256 of the map: only the centre pixel is hit
    EXPECT_EQ(dab(0x101, 100 * 256, 100 * 256), 1);
    EXPECT_TRUE(sameRect(image->update, {98, 98, 101, 101}));
    EXPECT_EQ(px(100, 100), 0xFFFE0202u);
    EXPECT_EQ(px(99, 100), 0x00FFFFFFu);
    EXPECT_EQ(px(100, 99), 0x00FFFFFFu);

    values[slot::thickness] = 0xFF;  // no size: nothing, not even the update rectangle
    clearUpdate(image->update);
    EXPECT_EQ(dab(0x101, 50 * 256, 50 * 256), 0);
    EXPECT_TRUE(sameRect(image->update, kEmptyUpdate));
    EXPECT_EQ(px(50, 50), 0x00FFFFFFu);
}

TEST_F(DabFixture, TwoColorsBlendByMapValue)
{
    values[slot::hue2] = kBlue;  // c1 = 0xFE0000, c2 = 0x0000FE
    dab(0x101, 100 * 256, 100 * 256);
    // Map 255: color mixColor(c2, c1, 255) = 0xFD0001, then alpha 254.
    EXPECT_EQ(px(100, 100), 0xFFFD0203u);
    // Map 126: color 0x7D0081, alpha 125.
    EXPECT_EQ(px(122, 100), 0xFFC082C1u);
}

TEST_F(DabFixture, CornerDabsAreClipped)
{
    dab(0x101, 0, 0);
    EXPECT_TRUE(sameRect(image->update, {0, 0, 41, 41}));
    EXPECT_EQ(px(0, 0), 0xFFFE0202u);
    EXPECT_EQ(px(39, 0), 0xFFFFF9F9u);  // map (79, 40)

    clearUpdate(image->update);
    values[slot::strength] = 0x8000;
    dab(0x301, 200 * 256, 200 * 256);  // a displacement dab reading past the corner
    EXPECT_TRUE(sameRect(image->update, {159, 159, 200, 200}));

    clearUpdate(image->update);
    dab(0x101, -100 * 256, 50 * 256);  // wholly outside: nothing drawn
    EXPECT_TRUE(sameRect(image->update, {0, 9, 0, 91}));  // an empty box still merges
}

TEST_F(DabFixture, ColorGroupClampsStrengthOtherGroupsDoNot)
{
    values[slot::strength] = 0x20000;
    values[slot::saturation1] = -5;
    dab(0x101, 100 * 256, 100 * 256);
    EXPECT_EQ(values[slot::strength], 0xFFFF);
    EXPECT_EQ(values[slot::saturation1], 0);

    image.reset(createImage(200, 200, 0, 0, 0x404040));
    values[slot::strength] = 0x20000;  // amount 255 * 512: brightness far past the top
    dab(0x203, 100 * 256, 100 * 256);
    EXPECT_EQ(values[slot::strength], 0x20000);
    EXPECT_EQ(px(100, 100), 0x00FFFFFFu);

    image.reset(createImage(200, 200, 0, 0, 0xFFFFFF));
    values[slot::strength] = -0x100;  // amount -255: brightness 0xFFFF -> 0xFF00
    dab(0x203, 100 * 256, 100 * 256);
    EXPECT_EQ(px(100, 100), 0x00FEFEFEu);
}

TEST_F(DabFixture, CodesWithoutAnOperationOnlyGrowTheUpdate)
{
    for (int32_t code : {0, 0x100, 0x10F, 0x1FF, 0x204, 0x300, 0x306, 0x403, 0x501}) {
        image.reset(createImage(200, 200, 0, 0, 0x123456));
        clearUpdate(image->update);
        EXPECT_EQ(dab(code, 100 * 256, 100 * 256), 1);
        EXPECT_TRUE(sameRect(image->update, {59, 59, 141, 141}));
        for (int y = 0; y < 200; y += 7)
            for (int x = 0; x < 200; x += 7) ASSERT_EQ(px(x, y), 0x123456u) << code;
    }
}

TEST_F(DabFixture, PlacementMovesTheDab)
{
    values[slot::placement] = 10 * 256;
    values[slot::placementAngle] = 0;  // straight up
    dab(0x101, 100 * 256, 100 * 256);
    EXPECT_TRUE(sameRect(image->update, {59, 49, 141, 131}));
    values[slot::placementAngle] = 0x4000;  // to the right
    clearUpdate(image->update);
    dab(0x101, 100 * 256, 100 * 256);
    EXPECT_TRUE(sameRect(image->update, {69, 59, 151, 141}));
}

TEST_F(DabFixture, LargeDisplacementDabsUseTheWholeBox)
{
    image.reset(createImage(700, 650, 0, 0, 0));
    for (int y = 0; y < 650; ++y)
        for (int x = 0; x < 700; ++x) image->at(x, y) = uint32_t(x * 7 + y * 131) & 0xFFFFFF;
    ImagePtr expected(createImage(700, 650, 0, 0, 0));
    copyRect(*image, *expected, 0, 0, 700, 650, 0, 0);
    values[slot::thickness] = 0x80000;  // 8 x 80 = a 642-pixel box, beyond the 500 x 500 scratch
    values[slot::strength] = 0x4000;
    SlotValues copy = values;
    dab(0x303, 350 * 256, 320 * 256);
    RandomState referenceRandom;
    drawDabReference(*expected, *disc->shape, copy, 0x303, 350 * 256, 320 * 256, referenceRandom);
    // The scratch buffer now holds the whole box, so asking for it again reuses it.
    const uint32_t* buffer = scratchImageOfSize(642, 641)->pixels;
    EXPECT_EQ(scratchImageOfSize(1, 1)->pixels, buffer);
    EXPECT_TRUE(std::equal(image->pixels, image->pixels + 700 * 650, expected->pixels));
    // The outermost changed column proves the box was not cut at 500.
    EXPECT_NE(image->at(350 + 300, 320), uint32_t(650 * 7 + 320 * 131) & 0xFFFFFF);
}

// The row-wise engine against the literal pixel-at-a-time oracle, on random
// dabs of every code, including codes without an operation, sizes from none
// to a few times the map, any angle, placement and strength.
TEST_F(DabFixture, MatchesThePixelAtATimeOracle)
{
    std::mt19937 rng(12345);
    auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    Pen* pens[kPenCount]{};
    ASSERT_TRUE(makeDefaultPens(pens));
    const ShapeMap* maps[] = {pens[0]->shape, pens[1]->shape};
    ImagePtr a(createImage(150, 110, 0, 0, 0)), b(createImage(150, 110, 0, 0, 0));
    for (int y = 0; y < 110; ++y)
        for (int x = 0; x < 150; ++x) a->at(x, y) = uint32_t(rng()) & 0xFFFFFF;
    copyRect(*a, *b, 0, 0, 150, 110, 0, 0);
    for (int i = 0; i < 4000; ++i) {
        SlotValues v{};
        for (int32_t& e : v) e = pick(-0x20000, 0x30000);
        v[slot::thickness] = pick(-0x100, 0x28000);
        // Unrotated, half-turned and quarter-turned dabs at whole scales take
        // the engine's straight-row paths: make them common.
        const int32_t angles[] = {0, 0x4000, 0x8000, 0xC000, 0x10000};
        const int32_t thicknesses[] = {0x10000, 0x20000, 0x8000, 0x100, 0x18000};
        if (i % 2 == 0) v[slot::angle] = angles[pick(0, 4)];
        if (i % 3 != 2) v[slot::thickness] = thicknesses[pick(0, 4)];
        v[slot::placement] = pick(-40 * 256, 40 * 256);
        int32_t code = blendModeCode(pick(0, kBlendModeCount - 1));
        if (i % 50 == 0) code = pick(0, 0x5FF);
        if (i % 3 == 0) v[slot::hue2] = v[slot::hue1], v[slot::saturation2] = v[slot::saturation1],
                        v[slot::brightness2] = v[slot::brightness1];
        const int32_t x = pick(-60 * 256, 210 * 256), y = pick(-60 * 256, 170 * 256);
        const ShapeMap& map = *maps[i % 2];
        SlotValues va = v, vb = v;
        clearUpdate(a->update);
        clearUpdate(b->update);
        RandomState referenceRandom = random;
        const int32_t ra = drawDab(*a, map, va, code, x, y, random);
        const int32_t rb = drawDabReference(*b, map, vb, code, x, y, referenceRandom);
        ASSERT_EQ(referenceRandom.value, random.value) << "dab " << i;
        ASSERT_EQ(ra, rb) << "dab " << i;
        ASSERT_TRUE(sameRect(a->update, b->update)) << "dab " << i;
        ASSERT_EQ(va, vb) << "dab " << i;
        ASSERT_TRUE(std::equal(a->pixels, a->pixels + 150 * 110, b->pixels)) << "dab " << i << " code " << code;
    }
    freePen(pens[0]);
    freePen(pens[1]);
}

}  // namespace
}  // namespace nelmora
