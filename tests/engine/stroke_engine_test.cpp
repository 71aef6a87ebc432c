// Dab positions and pixels here are worked out by hand: spacing
// ((thickness >> 4) * (interval >> 4) >> 8) * 80 >> 8, positions
// lastX + t * (x - lastX) in 24.8, pixels by the dab's mixing formula.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "doc/workspace.h"
#include "engine/random.h"
#include "engine/slots.h"
#include "engine/stroke_engine.h"

namespace nelmora {
namespace {

struct StrokeFixture : ::testing::Test {
    void begin(Pen* pen, int32_t x, int32_t y) { beginStroke(image(), pen, v(), random(), x, y); }
    void move(Pen* pen, int32_t x, int32_t y) { continueStroke(image(), pen, v(), random(), x, y); }
    void end(Pen* pen, int32_t x, int32_t y) { endStroke(image(), pen, v(), random(), x, y); }
    Image* image() { return &ws.strokeImage(); }
    DrawingValues& v() { return ws.strokeValues(); }
    RandomState& random() { return ws.strokeRandom(); }
    uint32_t px(int32_t x, int32_t y) const { return ws.image().at(x, y); }
    int32_t dabs() { return v()[dv::count3] / 256; }

    Workspace ws;
    Pen* pen0 = &ws.strokePen(0);
    Pen* pen1 = &ws.strokePen(1);
};

TEST_F(StrokeFixture, BeginDrawsNothingAndResetsTheStrokeState)
{
    v()[dv::count2] = 7 * 256;
    v()[dv::count3] = 9 * 256;
    clearUpdate(image()->update);
    RandomState before = random();
    begin(pen0, 30, 40);
    EXPECT_TRUE(isEmpty(image()->update));
    EXPECT_EQ(pen0->dabX, 30 * 256);
    EXPECT_EQ(pen0->dabY, 40 * 256);
    EXPECT_EQ(pen0->carry, 100);
    EXPECT_EQ(v()[dv::count1], 256);
    EXPECT_EQ(v()[dv::count2], 0);
    EXPECT_EQ(v()[dv::count3], 0);
    // Twenty discarded jitter draws, then random1 from the 21st.
    for (int i = 0; i < 20; ++i) drawRandom(before);
    EXPECT_EQ(v()[dv::random1], 2 * drawRandom(before));
}

TEST_F(StrokeFixture, DabsFallOneSpacingApartAlongThePath)
{
    // Default values: thickness 0x10000, interval 10000 -> spacing 3125.
    // Segments of 10 pixels (2560): dabs at path lengths 100, 3225, 6350,
    // 9475, 12600; the sixth segment (12800..15360) holds none (next 15725).
    begin(pen0, 0, 50);
    const int32_t expected[] = {100, 3225, 6350, 9475, 12600};
    for (int k = 1; k <= 5; ++k) {
        move(pen0, 10 * k, 50);
        EXPECT_EQ(pen0->dabX, expected[k - 1]) << "segment " << k;
        EXPECT_EQ(pen0->dabY, 50 * 256);
        EXPECT_EQ(dabs(), k);
    }
    move(pen0, 60, 50);
    EXPECT_EQ(dabs(), 5);
    EXPECT_EQ(pen0->dabX, 50 * 256);  // reset to the segment start, no dab placed
    EXPECT_EQ(pen0->carry, 15725 - 15360);
    EXPECT_EQ(v()[dv::count2], 6 * 256);
    EXPECT_EQ(v()[dv::moveDistance], 2560);
}

// Interval 0 (and a negative one) would put every dab on the same spot: the
// spacing never drops below 5/256 pixel. One pixel (256) from carry 100: dabs
// at 100, 105, ..., 255, that is 32, and the next lies at 260, carry 4.
TEST_F(StrokeFixture, SpacingNeverFallsBelowFive)
{
    for (int32_t interval : {0, -10000, 1}) {
        v()[dv::interval] = interval;
        begin(pen0, 50, 50);
        move(pen0, 51, 50);
        EXPECT_EQ(dabs(), 32) << interval;
        EXPECT_EQ(pen0->carry, 4) << interval;
    }
    // Interval 1600 at thickness 1.0: (4096 * 100 >> 8) * 80 >> 8 = 500, above the floor.
    v()[dv::interval] = 1600;
    begin(pen0, 50, 50);
    move(pen0, 51, 50);
    EXPECT_EQ(dabs(), 1);
    EXPECT_EQ(pen0->carry, 100 + 500 - 256);
}

// Hue 1 of pen 0 follows the per-dab motion angle; one dab per stroke.
// Its color on white at full coverage (alpha 254) shows the angle.
struct MotionAngle : StrokeFixture {
    void SetUp() override
    {
        StrokeFixture::SetUp();
        pen0->params[slot::hue1].sourceB = dv::moveAngle;
        pen0->params[slot::hue1].scaleB = 0x10000;
        v()[dv::saturation1] = 0xFFFF;
    }
    uint32_t stroke(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
    {
        begin(pen0, x0, y0);
        move(pen0, x1, y1);
        EXPECT_EQ(dabs(), 1);
        return px(x0, y0);
    }
};

TEST_F(MotionAngle, FollowsTheDirectionOfTravel)
{
    EXPECT_EQ(stroke(50, 50, 50, 40), 0xFFFE0202u);    // up: 0, red 0xFE0000
    EXPECT_EQ(stroke(150, 50, 160, 50), 0xFF80FE02u);  // right: 0x4000, 0x7FFE00
    EXPECT_EQ(stroke(50, 150, 50, 160), 0xFF02FFFEu);  // down: 0x8000, 0x00FFFE
}

TEST_F(StrokeFixture, FirstSegmentUsesTheEndValuesLaterOnesInterpolate)
{
    // Interval from ex1: 10000 on the first segment, 20000 on the second.
    pen0->params[slot::interval].sourceA = dv::ex1;
    v()[dv::ex1] = 10000;
    begin(pen0, 0, 50);
    move(pen0, 100, 50);  // 25600 long, spacing 3125 throughout: 9 dabs, carry 2625
    EXPECT_EQ(dabs(), 9);
    EXPECT_EQ(pen0->carry, 2625);
    v()[dv::ex1] = 20000;
    move(pen0, 130, 50);  // 7680 long
    // Dab at r = 2625: t = 175/512, w = 87, interval 13398, spacing 4185. Dab
    // at r = 6810: w = 227, interval 18867, spacing 5895; r = 12705, carry
    // 5025. (Without interpolation the spacing would be 6250, one dab, carry 1195.)
    EXPECT_EQ(dabs(), 11);
    EXPECT_EQ(pen0->carry, 5025);
}

TEST_F(StrokeFixture, HueInterpolatesTheShortWayRound)
{
    pen0->params[slot::hue1].sourceA = dv::ex1;
    v()[dv::saturation1] = 0xFFFF;
    v()[dv::ex1] = 0xFF00;
    begin(pen0, 0, 100);
    move(pen0, 10, 100);  // one dab at 100/256, hue 0xFF00: 0xFE0005 -> pixel 0xFFFE0207
    v()[dv::ex1] = 0x0100;
    move(pen0, 20, 100);  // one dab at r = 665, w = 66: hue 0xFF84 (0xFE0002), not 0xBD84
    EXPECT_EQ(dabs(), 2);
    EXPECT_EQ(px(2, 100), 0xFFFE0002u);  // both dabs cover it fully
}

TEST_F(StrokeFixture, OneColorPensPaintColorOneOnly)
{
    pen0->params[slot::hue2].sourceA = dv::hue2;  // color 2 slots read color 2
    pen0->params[slot::saturation2].sourceA = dv::saturation2;
    pen0->params[slot::brightness2].sourceA = dv::brightness2;
    v()[dv::saturation1] = v()[dv::saturation2] = 0xFFFF;
    v()[dv::hue2] = 0xAAAA;  // blue
    begin(pen0, 50, 50);
    end(pen0, 50, 50);  // one dab exactly on the point
    EXPECT_EQ(px(50, 50), 0xFFFE0202u);
    pen0->lineColor = 1;  // two colors: map 255 mixes 0xFD0001 first
    begin(pen0, 150, 150);
    end(pen0, 150, 150);
    EXPECT_EQ(px(150, 150), 0xFFFD0203u);
}

TEST_F(StrokeFixture, BaseEntersEveryDabTwice)
{
    pen0->params[slot::strength] = {0, 0, 0, 0, 0x4000, 0};
    v()[dv::saturation1] = 0xFFFF;
    begin(pen0, 50, 50);
    end(pen0, 50, 50);
    // Strength 0x8000: alpha 127 on white with red 0xFE0000.
    EXPECT_EQ(px(50, 50), 0xFFFF8080u);
}

TEST_F(StrokeFixture, EndDrawsOneDabAtTheReleasePointEvenWithoutMotion)
{
    begin(pen0, 20, 20);
    end(pen0, 20, 20);
    EXPECT_EQ(dabs(), 1);
    EXPECT_EQ(pen0->dabX, 20 * 256);
    EXPECT_EQ(v()[dv::count2], 256);
    begin(pen0, 20, 20);
    move(pen0, 20, 20);  // a zero-length segment places nothing
    EXPECT_EQ(dabs(), 0);
}

TEST_F(StrokeFixture, TwoPensShareTheDrawingValues)
{
    pen1->drawMode = 1;
    pen0->params[slot::strength] = {};  // pen 0 paints with strength 0: invisible
    // Pen 1 remembers the present values from "its last stroke" except
    // strength 0; so its color and spacing (3125) stay as they are.
    evaluateSlots(v(), pen1->params, nullptr, pen1->lastOutputs);
    pen1->lastOutputs[slot::strength] = 0;
    begin(pen0, 0, 50);
    begin(pen1, 0, 50);
    EXPECT_EQ(v()[dv::count1], 512);
    move(pen0, 10, 50);
    move(pen1, 10, 50);
    EXPECT_EQ(v()[dv::count2], 512);
    EXPECT_EQ(dabs(), 2);  // pen 1's count continues from pen 0's
    // Pen 1 found count2 = 256 and interpolated from its own last outputs:
    // t = 100/2560, w = 10, strength 0xFFFF * 10 >> 8 = 2559, alpha 9.
    // Color 2 (hue 0, saturation 40000) is 0xFF6363: green 99 -> 250.
    EXPECT_EQ(px(0, 50), 0xFFFFFAFAu);
}

TEST_F(StrokeFixture, OutOfRangeBlendIndexDrawsNothing)
{
    pen0->blendIndex = 24;
    clearUpdate(image()->update);
    begin(pen0, 50, 50);
    move(pen0, 60, 50);
    EXPECT_EQ(dabs(), 1);
    EXPECT_FALSE(isEmpty(image()->update));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_EQ(px(x, y), 0xFFFFFFu);
    pen0->blendIndex = -1;
    begin(pen0, 50, 50);
    end(pen0, 50, 50);
    EXPECT_EQ(px(50, 50), 0xFFFFFFu);
}

// A slot source outside the 34 drawing values reads 0: strength from index
// 34 or -5 is 0, so the dab is placed but changes no pixel.
TEST_F(StrokeFixture, OutOfRangeSourcesReadZero)
{
    for (int32_t source : {kDrawingValueCount, -5}) {
        pen0->params[slot::strength].sourceA = source;
        begin(pen0, 50, 50);
        move(pen0, 60, 50);
        EXPECT_EQ(dabs(), 1) << source;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) ASSERT_EQ(px(x, y), 0xFFFFFFu) << source;
    }
    pen0->params[slot::strength].sourceA = dv::strength1;  // the same stroke with a real source paints
    begin(pen0, 50, 50);
    move(pen0, 60, 50);
    EXPECT_NE(px(50, 50), 0xFFFFFFu);
}

// The same drag, with jitter on every slot, from the same start gives the
// same image.
TEST(StrokeRepeat, SameDragSameImage)
{
    auto run = [](std::vector<uint32_t>& pixels) {
        Workspace ws;
        Pen* pen = &ws.strokePen(0);
        Image* image = &ws.strokeImage();
        for (int i = 0; i < kSlotCount; ++i) pen->params[i].jitter = 0x800;
        pen->blendIndex = 20;  // Diffuse1 draws per pixel as well
        beginStroke(image, pen, ws.strokeValues(), ws.strokeRandom(), 20, 20);
        for (int k = 1; k < 30; ++k)
            continueStroke(image, pen, ws.strokeValues(), ws.strokeRandom(), 20 + 5 * k, 20 + 3 * k);
        endStroke(image, pen, ws.strokeValues(), ws.strokeRandom(), 170, 110);
        pixels.assign(image->pixels, image->pixels + 200 * 200);
    };
    std::vector<uint32_t> first, second;
    run(first);
    run(second);
    EXPECT_EQ(first, second);
    EXPECT_NE(std::count(first.begin(), first.end(), 0xFFFFFFu), 200 * 200);
}

}  // namespace
}  // namespace nelmora
