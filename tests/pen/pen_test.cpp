#include <gtest/gtest.h>

#include "pen/pen.h"

namespace nelmora {
namespace {

struct DefaultPens : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(makeDefaultPens(pens)); }
    void TearDown() override
    {
        freePen(pens[0]);
        freePen(pens[1]);
    }
    int byte(int pen, int column, int row) const
    {
        const ShapeMap& m = *pens[pen]->shape;
        return m.coverage[row * m.stride + column];
    }
    Pen* pens[kPenCount]{};
};

TEST_F(DefaultPens, Pen0IsADiscWithARampedEdge)
{
    EXPECT_EQ(byte(0, 40, 40), 255);
    EXPECT_EQ(byte(0, 61, 40), 255);
    EXPECT_EQ(byte(0, 62, 40), 126);
    EXPECT_EQ(byte(0, 79, 40), 7);
    EXPECT_EQ(byte(0, 0, 40), 0);
    EXPECT_EQ(byte(0, 0, 0), 0);
}

TEST_F(DefaultPens, Pen1IsACone)
{
    EXPECT_EQ(byte(1, 40, 40), 255);
    EXPECT_EQ(byte(1, 43, 40), 255);
    EXPECT_EQ(byte(1, 44, 40), 252);
    EXPECT_EQ(byte(1, 60, 40), 140);
    EXPECT_EQ(byte(1, 62, 40), 126);
    EXPECT_EQ(byte(1, 79, 40), 7);
}

TEST_F(DefaultPens, ShapeGeometry)
{
    for (Pen* pen : pens) {
        EXPECT_EQ(pen->shape->width, 80);
        EXPECT_EQ(pen->shape->stride, 80);
        EXPECT_EQ(pen->shape->centerX, 10240);
        EXPECT_EQ(pen->shape->centerY, 10240);
    }
}

TEST_F(DefaultPens, SlotWiringAndFlags)
{
    const Pen& p0 = *pens[0];
    const Pen& p1 = *pens[1];
    for (int i : {0, 1, 2, 6, 7, 8, 9, 10, 14, 17, 18, 19}) {
        EXPECT_EQ(p0.params[i].sourceA, i + 1) << i;
        EXPECT_EQ(p0.params[i].scaleA, 0x10000) << i;
    }
    EXPECT_EQ(p0.params[3].sourceA, 1);
    EXPECT_EQ(p0.params[4].sourceA, 2);
    EXPECT_EQ(p0.params[5].sourceA, 3);
    EXPECT_EQ(p0.params[15].sourceA, 20);
    EXPECT_EQ(p0.params[16].sourceA, 21);
    EXPECT_EQ(p1.params[0].sourceA, 4);
    EXPECT_EQ(p1.params[1].sourceA, 5);
    EXPECT_EQ(p1.params[2].sourceA, 6);
    EXPECT_EQ(p1.params[3].sourceA, 4);
    EXPECT_EQ(p1.params[8].sourceA, 9);
    EXPECT_EQ(p1.params[8].sourceB, 12);
    EXPECT_EQ(p1.params[8].scaleB, 0);
    EXPECT_EQ(p0.drawMode, 1);
    EXPECT_EQ(p1.drawMode, 0);
    for (const Pen* p : pens) {
        EXPECT_EQ(p->lineColor, 0);
        EXPECT_EQ(p->endFlag, 0);
        EXPECT_EQ(p->blendIndex, 0);
        EXPECT_EQ(p->lastDX, 0);
    }
}

TEST(PenLifetime, FreeAcceptsNull)
{
    EXPECT_EQ(freePen(nullptr), 0);
    EXPECT_EQ(freeShapeMap(nullptr), 0);
    Pen* pen = createPen(8, 4, 0, 0);
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(pen->shape->stride, 8);
    EXPECT_EQ(pen->params[19].scaleA, 0);
    EXPECT_EQ(freePen(pen), 1);
}

TEST(ShapeSettingsFields, AddressedInFileOrder)
{
    ShapeSettings s{};
    for (int k = 0; k < kShapeSettingCount; ++k) shapeSetting(s, k) = k * 10;
    EXPECT_EQ(s.type, 0);
    EXPECT_EQ(s.msize, 10);
    EXPECT_EQ(s.flat, 50);
    EXPECT_EQ(s.rand3, 90);
}

}  // namespace
}  // namespace nelmora
