// Map bytes worked out by hand: profile alpha / 256, with rIn = msize * rOut / 65536.
#include <gtest/gtest.h>

#include "doc/workspace.h"
#include "engine/random.h"
#include "engine/shape_generator.h"

namespace nelmora {
namespace {

struct ShapeFixture : ::testing::Test {
    void SetUp() override
    {
        pen = createPen(80, 80, 10240, 10240);
        ASSERT_TRUE(pen);
        std::fill_n(pen->shape->coverage, 80 * 80, uint8_t(0xAB));
    }
    void TearDown() override { freePen(pen); }
    int at(int column, int row) const { return pen->shape->coverage[row * 80 + column]; }
    std::vector<uint8_t> map() const { return {pen->shape->coverage, pen->shape->coverage + 80 * 80}; }
    // First and last non-zero position along a row (or a column), -1 when none.
    std::pair<int, int> extent(int index, bool alongRow) const
    {
        int first = -1, last = -1;
        for (int k = 0; k < 80; ++k)
            if ((alongRow ? at(k, index) : at(index, k)) != 0) {
                if (first < 0) first = k;
                last = k;
            }
        return {first, last};
    }
    // Generates with `settings`; every byte must be `value` and no random number drawn.
    void expectUniformMapWithoutDraws(uint8_t value)
    {
        const uint32_t before = random.value;
        generateShapeMap(*pen, settings, random);
        EXPECT_EQ(map(), std::vector<uint8_t>(80 * 80, value));
        EXPECT_EQ(random.value, before);
    }
    std::pair<int, int> rowExtent(int row) const { return extent(row, true); }
    std::pair<int, int> columnExtent(int column) const { return extent(column, false); }

    Pen* pen = nullptr;
    ShapeSettings settings = kStartShapeSettings;
    RandomState random;
};

TEST_F(ShapeFixture, DefaultCircle)
{
    generateShapeMap(*pen, settings, random);
    EXPECT_EQ(at(40, 40), 255);  // alph3 0xFFFF
    EXPECT_EQ(at(60, 40), 242);  // d 20: 17.99 * 65536 / 18.995 = 62068
    EXPECT_EQ(at(70, 40), 107);  // d 30: 27566
    EXPECT_EQ(at(40, 10), 107);
    EXPECT_EQ(at(78, 40), 0);  // d 38 lies beyond 37.99
    EXPECT_EQ(at(2, 40), 0);
    EXPECT_EQ(at(40, 2), 0);
    EXPECT_EQ(at(0, 0), 0);
    EXPECT_EQ(rowExtent(40), std::make_pair(3, 77));
}

TEST_F(ShapeFixture, Square)
{
    settings.type = 1;
    generateShapeMap(*pen, settings, random);
    EXPECT_EQ(at(40, 40), 255);
    EXPECT_EQ(at(55, 40), 242);  // d 15: 13.5 * 65536 / 14.25 = 62086
    EXPECT_EQ(at(68, 40), 8);    // d 28: 2299
    EXPECT_EQ(at(69, 40), 0);    // d 29 beyond 28.5
    EXPECT_EQ(at(12, 12), 8);    // the corners of the square count as d 28 too
    EXPECT_EQ(at(68, 68), 8);
    EXPECT_EQ(rowExtent(12), std::make_pair(12, 68));
    EXPECT_EQ(columnExtent(40), std::make_pair(12, 68));
    EXPECT_EQ(rowExtent(11), std::make_pair(-1, -1));
}

TEST_F(ShapeFixture, TriangleIsTheCircleWithoutFlat)
{
    generateShapeMap(*pen, settings, random);
    const std::vector<uint8_t> circle = map();
    settings.type = 2;
    generateShapeMap(*pen, settings, random);
    EXPECT_EQ(map(), circle);
    settings.flat = 0x4000;
    generateShapeMap(*pen, settings, random);
    EXPECT_EQ(map(), circle);
}

TEST_F(ShapeFixture, FlatNarrowsTheCircle)
{
    settings.flat = 0x8000;
    generateShapeMap(*pen, settings, random);
    EXPECT_EQ(rowExtent(40), std::make_pair(22, 58));  // |x - 40| * 2 <= 36
    EXPECT_EQ(columnExtent(40), std::make_pair(3, 77));
}

TEST_F(ShapeFixture, FlatZeroEmptiesTheMapWithoutDrawingNoise)
{
    settings.flat = 0;
    settings.rand3 = 0x10000;
    expectUniformMapWithoutDraws(0);
}

TEST_F(ShapeFixture, InnerSizeBounds)
{
    settings.msize = 0;  // alph2 at the centre, alph1 at the rim
    settings.alph2 = 0x8000;
    generateShapeMap(*pen, settings, random);
    EXPECT_EQ(at(40, 40), 128);
    EXPECT_EQ(at(60, 40), 60);  // 17.99 / 37.99 * 32768 = 15517

    settings.msize = 0x10000;  // alph3 at the centre, alph2 at the rim; alph1 unused
    settings.alph3 = 0xFFFF;
    settings.alph2 = 0;
    settings.alph1 = 0;
    generateShapeMap(*pen, settings, random);
    EXPECT_EQ(at(60, 40), 121);  // 17.99 / 37.99 * 65535 = 31033
    const std::vector<uint8_t> withoutRim = map();
    settings.alph1 = 0xFFFF;
    generateShapeMap(*pen, settings, random);
    EXPECT_EQ(map(), withoutRim);
}

TEST_F(ShapeFixture, NoiseChangesEveryRebuildRotationNothing)
{
    generateShapeMap(*pen, settings, random);
    const std::vector<uint8_t> plain = map();
    settings.rot = 0x4000;
    generateShapeMap(*pen, settings, random);
    EXPECT_EQ(map(), plain);

    settings.rand1 = settings.rand2 = settings.rand3 = 0x4000;
    generateShapeMap(*pen, settings, random);
    const std::vector<uint8_t> first = map();
    generateShapeMap(*pen, settings, random);
    EXPECT_NE(map(), first);
    EXPECT_NE(map(), plain);
    EXPECT_EQ(at(0, 0), 0);  // outside the rim no noise is added
}

TEST_F(ShapeFixture, UnknownTypeLeavesTheMap)
{
    settings.type = 3;
    expectUniformMapWithoutDraws(0xAB);  // the fill from SetUp
}

TEST(ShapeProfile, RampsNoiseAndClamps)
{
    RandomState random;
    ShapeSettings s{};
    s.alph1 = 0;
    s.alph2 = 0x8000;
    s.alph3 = 0xFFFF;
    EXPECT_EQ(shapeProfile(s, 0.0, 40.0, 20.0, random), 0xFFFF);
    EXPECT_EQ(shapeProfile(s, 10.0, 40.0, 20.0, random), (0xFFFF + 0x8000) / 2);
    EXPECT_EQ(shapeProfile(s, 30.0, 40.0, 20.0, random), 0x4000);
    EXPECT_EQ(shapeProfile(s, 40.5, 40.0, 20.0, random), 0);

    random = RandomState{};  // r = 41: (41 - 16384) * 0x10000 / 16384 = -65372
    s.rand3 = 0x10000;
    EXPECT_EQ(shapeProfile(s, 0.0, 40.0, 20.0, random), 0xFFFF - 65372);
    random = RandomState{};
    s.alph3 = 0x7FFFFFFF;  // a level only a pen file can hold is clamped
    EXPECT_EQ(shapeProfile(s, 0.0, 40.0, 20.0, random), 0xFFFF);

    // An inner radius equal to the outer one: the rim takes alph1 and rand1.
    ShapeSettings rim{};
    rim.alph1 = 0x1234;
    random = RandomState{};
    EXPECT_EQ(shapeProfile(rim, 60.0, 60.0, 60.0, random), 0x1234);
}

}  // namespace
}  // namespace nelmora
