#include <gtest/gtest.h>

#include "pen/drawing_values.h"
#include "text/shift_jis.h"

namespace nelmora {
namespace {

TEST(DrawingValues, StartValues)
{
    DrawingValues v;
    v.fill(-1);
    resetDrawingValues(v);
    EXPECT_EQ(v[dv::hue1], 0);
    EXPECT_EQ(v[dv::saturation1], 40000);
    EXPECT_EQ(v[dv::brightness1], 0xFFFF);
    EXPECT_EQ(v[dv::saturation2], 40000);
    EXPECT_EQ(v[dv::brightness2], 0xFFFF);
    EXPECT_EQ(v[dv::thickness1], 0x10000);
    EXPECT_EQ(v[dv::interval], 10000);
    EXPECT_EQ(v[dv::strength1], 0xFFFF);
    EXPECT_EQ(v[dv::angle2], 4000);
    EXPECT_EQ(v[dv::strength2], 0xFFFF);
    int nonZero = 0;
    for (int32_t x : v) nonZero += x != 0;
    EXPECT_EQ(nonZero, 9);
}

TEST(DrawingValues, LineOptionRowsPairWithTheirEntries)
{
    const int expected[kLineOptionCount] = {7, 10, 8, 9, 15, 22, 24, 23, 16, 17, 18, 27, 19, 20, 21};
    for (int row = 0; row < kLineOptionCount; ++row) EXPECT_EQ(lineOptionValues[size_t(row)], expected[row]) << row;
}

TEST(DrawingValues, SourceLabelsAreSevenByteShiftJisFields)
{
    const NameList& labels = sourceLabels();
    ASSERT_EQ(labels.count(), kDrawingValueCount);
    for (int n = 0; n < labels.count(); ++n) EXPECT_EQ(labels.bytes[size_t(n * 7 + 6)], '\0') << n;
    EXPECT_EQ(labels.entry(0), "----- ");
    EXPECT_EQ(labels.entry(1), "\x90\x46\x91\x8a\x82\x50");  // 色相１
    EXPECT_EQ(shiftJisToUtf8(labels.entry(16)), "EX  １");
    EXPECT_EQ(shiftJisToUtf8(labels.entry(28)), "ﾗﾝﾀﾞﾑ1");
    EXPECT_EQ(shiftJisToUtf8(labels.entry(33)), "ｶｳﾝﾄ３");
}

}  // namespace
}  // namespace nelmora
