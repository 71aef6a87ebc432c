#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>

#include "engine/random.h"
#include "engine/random_run.h"
#include "engine/slots.h"

namespace nelmora {
namespace {

TEST(Random, FirstValuesFromTheStartState)
{
    RandomState random;
    const int32_t expected[] = {41, 18467, 6334, 26500, 19169};
    for (int32_t e : expected) EXPECT_EQ(drawRandom(random), e);
}

// A run of numbers drawn at once is the sequence of single draws, from any
// state and for lengths around the lanes of the jump-ahead, and leaves the
// same state behind.
TEST(Random, RunsDrawTheSameSequenceAsSingleDraws)
{
    for (uint32_t start : {1u, 0u, 0xFFFFFFFFu, 0x8000BEEFu})
        for (int32_t count : {0, 1, 7, 8, 9, 16, 23, 256}) {
            RandomState single{start}, run{start};
            int32_t drawn[256];
            drawRandomRun(run, count, drawn);
            for (int32_t i = 0; i < count; ++i) ASSERT_EQ(drawn[i], drawRandom(single)) << start << " " << i;
            EXPECT_EQ(run.value, single.value);
        }
}

struct SlotFixture : ::testing::Test {
    DrawingValues values{};
    PenParam params[kSlotCount]{};
    SlotValues out{};
};

TEST_F(SlotFixture, ScalesKeepOnlyBits8To31)
{
    values[dv::thickness1] = 0x10000;
    params[0] = {dv::thickness1, 0x8000, 0, 0, 0, 0};
    params[1] = {dv::thickness1, 0x8000, 0, 0, 100, 0};
    params[2] = {dv::thickness1, 0x000000FF, 0, 0, 0, 0};
    params[3] = {dv::thickness1, 0x10000, dv::thickness1, -0x10000, 7, 0};
    evaluateSlots(values, params, nullptr, out);
    EXPECT_EQ(out[0], 0x8000);
    EXPECT_EQ(out[1], 0x8000 + 100);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[3], 7);
}

TEST_F(SlotFixture, SourcesOutsideTheTableReadZero)
{
    values.fill(1000);
    values[0] = 0;
    params[0] = {40, 0x10000, -3, 0x10000, 5, 0};
    params[1] = {dv::pressure, 0x10000, 0, 0, 0, 0};
    values[dv::pressure] = 0;
    evaluateSlots(values, params, nullptr, out);
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(out[1], 0);
}

// The table has 34 entries, 0..33: one past either end must read 0, not the
// memory next to the table (the test build checks array indices).
TEST_F(SlotFixture, SourcesJustOutsideTheTableReadZero)
{
    values.fill(1000);
    values[dv::none] = 0;
    values[dv::count3] = 700;  // index 33, the last one, is still read
    params[0] = {kDrawingValueCount, 0x10000, 0, 0, 5, 0};
    params[1] = {-1, 0x10000, kDrawingValueCount + 1, 0x10000, 6, 0};
    params[2] = {0, 0x10000, -5, 0x10000, 7, 0};
    params[3] = {dv::count3, 0x10000, INT32_MIN, 0x10000, 8, 0};
    evaluateSlots(values, params, nullptr, out);
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(out[1], 6);
    EXPECT_EQ(out[2], 7);
    EXPECT_EQ(out[3], 8 + 700);
}

TEST_F(SlotFixture, JitterDrawsOneValuePerSlotCentredOn0x4000)
{
    RandomState random;
    params[0].jitter = 0x4000;  // first draw 41: (41 - 0x4000) * 0x4000 >> 14 = 41 - 16384
    evaluateSlots(values, params, &random, out);
    EXPECT_EQ(out[0], 41 - 0x4000);
    for (int i = 1; i < kSlotCount; ++i) EXPECT_EQ(out[size_t(i)], 0);
    // Twenty draws were made: the next is the 21st value of the sequence.
    RandomState counted;
    for (int i = 0; i < 20; ++i) drawRandom(counted);
    const int32_t twentyFirst = drawRandom(counted);
    random = RandomState{};
    evaluateSlots(values, params, &random, out);
    EXPECT_EQ(drawRandom(random), twentyFirst);
}

TEST_F(SlotFixture, HugeProductsWrapInsteadOfOverflowing)
{
    values[dv::ex1] = 0x7FFFFFFF;
    params[0] = {dv::ex1, 0x7FFFFF00, dv::ex1, 0x7FFFFF00, 0x7FFFFFFF, 0x7FFFFFFF};
    RandomState random;
    evaluateSlots(values, params, &random, out);  // must not trip the sanitizer
    SUCCEED();
}

TEST(Interpolate, AngleSlotsTakeTheShortWay)
{
    SlotValues end{}, previous{}, increment{}, out{};
    end[slot::hue1] = 0x0100;
    previous[slot::hue1] = 0xFF00;
    end[slot::thickness] = 0x0100;
    previous[slot::thickness] = 0xFF00;
    interpolateSlots(end, previous, increment, 128, out);
    EXPECT_EQ(out[slot::hue1], 0x0000);  // halfway through zero, masked
    EXPECT_EQ(out[slot::thickness], 0x8000);  // straight line for ordinary slots
    interpolateSlots(previous, end, increment, 64, out);
    // A quarter of the way from 0x0100 back to 0xFF00: 0x0100 - 0x0200 / 4.
    EXPECT_EQ(out[slot::hue1], 0x0080);
}

// Every slot from 0xFF00 to 0x0100 at w = 128. Angle slots cross zero and
// land on 0; the rest go the long way through 0x8000.
TEST(Interpolate, EverySlotThatHoldsAnAngleWraps)
{
    SlotValues end{}, previous{}, increment{}, out{};
    end.fill(0x0100);
    previous.fill(0xFF00);
    interpolateSlots(end, previous, increment, 128, out);
    const int angles[] = {slot::hue1, slot::hue2, slot::angle, slot::motionAngle, slot::penAngle,
                          slot::placementAngle};
    for (int i = 0; i < kSlotCount; ++i) {
        const bool angle = std::find(std::begin(angles), std::end(angles), i) != std::end(angles);
        EXPECT_EQ(out[size_t(i)], angle ? 0x0000 : 0x8000) << "slot " << i;
        EXPECT_EQ(isWrappingSlot(i), angle) << "slot " << i;
    }
}

// Exactly half a turn apart neither way round is shorter: the blend then goes
// straight between the two values, whichever of them is the larger. With w =
// 128 both directions meet at 0x4000; the wrapped blend would give 0xC000.
TEST(Interpolate, HalfATurnApartGoesStraight)
{
    SlotValues end{}, previous{}, increment{}, out{};
    end[slot::hue1] = 0x8000;  // ahead by exactly 0x8000
    previous[slot::hue1] = 0;
    interpolateSlots(end, previous, increment, 128, out);
    EXPECT_EQ(out[slot::hue1], 0x4000);
    interpolateSlots(end, previous, increment, 64, out);
    EXPECT_EQ(out[slot::hue1], 0x2000);  // 64 * 0x8000 >> 8; wrapped: 0xE000

    end[slot::hue1] = 0;  // behind by exactly 0x8000
    previous[slot::hue1] = 0x8000;
    interpolateSlots(end, previous, increment, 128, out);
    EXPECT_EQ(out[slot::hue1], 0x4000);
    interpolateSlots(end, previous, increment, 64, out);
    EXPECT_EQ(out[slot::hue1], 0x6000);  // 192 * 0x8000 >> 8; wrapped: 0xA000

    // One step past half a turn does wrap: 0x8001 ahead is 0x7FFF behind.
    end[slot::hue1] = 0x8001;
    previous[slot::hue1] = 0;
    interpolateSlots(end, previous, increment, 128, out);
    EXPECT_EQ(out[slot::hue1], 0xC000);  // (0x8001 + 0x10000) * 128 >> 8 = 0xC000, masked
}

TEST(Interpolate, IncrementAddsAndWeightsBlend)
{
    SlotValues end{}, previous{}, increment{}, out{};
    end.fill(1000);
    previous.fill(0);
    increment.fill(3);
    interpolateSlots(end, previous, increment, 256, out);
    EXPECT_EQ(out[slot::strength], 1003);
    interpolateSlots(end, previous, increment, 64, out);
    EXPECT_EQ(out[slot::strength], 250 + 3);
}

}  // namespace
}  // namespace nelmora
