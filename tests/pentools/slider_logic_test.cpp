// The slider's picture, number text and clicks, without a window.
#include <gtest/gtest.h>

#include <climits>

#include "image/image.h"
#include "pen/drawing_values.h"
#include "pentools/slider_click.h"
#include "pentools/slider_picture.h"
#include "pentools/slider_row.h"

namespace nelmora {
namespace {

// The line options' thickness row; a 270-wide bordered control is 268 x 12 inside.
constexpr SliderRow kThickness{"太さ ", 0x000080, 0xF080F0, "%", 1, 0x10000, 0x20000,
                               0x10000, 100, 655, 270, 14, 0, 15};
constexpr SliderRow kAngle{"角度 ", 0x003080, 0xC080F0, "ﾟ", 0, 0, 0x10000, 0x10000, 360, 182, 270, 14, 0, 15};
// The pen set's scale B column: a wide signed range on a compact 100-wide control.
constexpr SliderRow kScaleB{"scale", 0x008000, 0x80F0F0, " ", -0x50000, 0, 0x50000, 0x10000, 100, 655, 100, 14, 0, 24};
// The pen set's source column and the pen creator's blend-mode row.
constexpr SliderRow kSource{"src  ", 0x008000, 0x80F0F0, " ", 0, 1, 33, 33, 33, 1, 95, 14, 0, 24};
constexpr SliderRow kMode{"mode ", 0x108000, 0x80F0F0, " ", 0, 0, 23, 1, 1, 1, 220, 14, 0, 19};

constexpr int32_t kW = 268;  // client width of a 270-wide control; bar length 178
constexpr int32_t kH = 12;
constexpr uint32_t kSentinel = 0x123456;

uint32_t rgb(uint32_t pixel) { return pixel & 0xFFFFFF; }

class SliderPicture : public ::testing::Test {
protected:
    ImagePtr strip{createImage(kSliderStripWidth, kSliderStripHeight, 0, 0, kSentinel)};
    SliderRecord thickness = makeSliderRecord(kThickness);
};

// Expected colors worked out by hand from the mix formula
// (a x (256 - t) + b x t + 128) / 256 per channel, bar length 178.
TEST_F(SliderPicture, AreasLinesAndDefaultMarkAtTheDefault)
{
    // 0x10000 on 1..0x20000: P = D = 0xFFFF x 178 / 0x1FFFF = 88.
    composeSliderPicture(*strip, thickness, 0x10000, kW, kH);
    for (int y = 0; y < kH; ++y) EXPECT_EQ(rgb(strip->at(178, y)), 0u) << "end line, row " << y;
    // The value line carries the default mark on odd rows.
    EXPECT_EQ(rgb(strip->at(88, 0)), 0u);
    EXPECT_EQ(rgb(strip->at(88, 1)), 0xF0F0F0u);
    // Filled part: gradient weight x x 256 / 178, shade y x 256 / 12, mixed at 120.
    EXPECT_EQ(rgb(strip->at(0, 0)), 0x7878BCu);
    EXPECT_EQ(rgb(strip->at(10, 6)), 0x434083u);
    // Empty part, mixed with the grey shade at 200.
    EXPECT_EQ(rgb(strip->at(100, 0)), 0x9A8DA7u);
    // Text area: white to blue-grey.
    EXPECT_EQ(rgb(strip->at(200, 6)), 0xD0D0D8u);
    // Nothing beyond the control's width or height.
    EXPECT_EQ(strip->at(kW, 0), kSentinel);
    EXPECT_EQ(strip->at(0, kH), kSentinel);
}

TEST_F(SliderPicture, DefaultMarkDotsTheEmptyPart)
{
    // 0x8000: P = 0x7FFF x 178 / 0x1FFFF = 44; the mark stays at 88.
    composeSliderPicture(*strip, thickness, 0x8000, kW, kH);
    EXPECT_EQ(rgb(strip->at(44, 0)), 0u);
    EXPECT_EQ(rgb(strip->at(44, 1)), 0u);
    EXPECT_EQ(rgb(strip->at(88, 0)), 0x978BA5u);
    EXPECT_EQ(rgb(strip->at(88, 1)), 0x6D615Bu);  // 0x9D91AB ^ 0xF0F0F0
}

TEST_F(SliderPicture, CompactBarIs27PixelsLonger)
{
    SliderRecord compact = thickness;
    compact.compact = true;
    composeSliderPicture(*strip, compact, 1, kW, kH);
    EXPECT_EQ(rgb(strip->at(205, 5)), 0u);
    EXPECT_NE(rgb(strip->at(178, 5)), 0u);
    EXPECT_NE(rgb(strip->at(204, 5)), 0u);
}

TEST_F(SliderPicture, OutOfRangeValuesAndOddSizesStayInside)
{
    SliderRecord scale = makeSliderRecord(kScaleB, nullptr, true);
    // Far above the range the bar runs on over the text area; the end line stays.
    composeSliderPicture(*strip, scale, INT32_MAX, 98, kH);
    EXPECT_EQ(rgb(strip->at(35, 3)), 0u);
    EXPECT_NE(rgb(strip->at(97, 3)), 0u);
    EXPECT_EQ(strip->at(98, 3), kSentinel);
    // Far below it there is no value line; the default mark stays at 0x50000 x 35 / 0xA0000 = 17.
    composeSliderPicture(*strip, scale, INT32_MIN, 98, kH);
    EXPECT_NE(rgb(strip->at(0, 2)), 0u);
    const uint32_t marked2 = strip->at(17, 2), marked3 = strip->at(17, 3);
    SliderRecord unmarked = scale;
    unmarked.defaultValue = INT32_MIN;
    composeSliderPicture(*strip, unmarked, INT32_MIN, 98, kH);
    EXPECT_EQ(marked2, strip->at(17, 2));
    EXPECT_EQ(marked3, strip->at(17, 3) ^ 0xF0F0F0u);

    // A picture bigger than its strip is cut at the strip's edges, not wrapped into the next row.
    ImagePtr small{createImage(50, 5, 0, 0, kSentinel)};
    composeSliderPicture(*small, thickness, 0x10000, kW, kH);
    composeSliderPicture(*strip, thickness, 0x10000, kW, kH);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 50; ++x) ASSERT_EQ(small->at(x, y), strip->at(x, y)) << x << "," << y;

    // An empty range puts the value and the default at the bar's start.
    SliderRecord flat = thickness;
    flat.max = flat.min;
    composeSliderPicture(*strip, flat, 5, kW, kH);
    EXPECT_EQ(rgb(strip->at(0, 0)), 0u);
    EXPECT_EQ(rgb(strip->at(0, 1)), 0xF0F0F0u);
    EXPECT_EQ(rgb(strip->at(178, 0)), 0u);
    composeSliderPicture(*strip, thickness, 0x10000, 20, kH);  // no bar at all
    EXPECT_NE(rgb(strip->at(0, 0)), 0u);
}

TEST(SliderNumberText, NumbersWithUnits)
{
    EXPECT_EQ(sliderNumberText(makeSliderRecord(kThickness), 0x10000), "  100% ");
    // 10000 x 100 / 65536 = 15.
    EXPECT_EQ(sliderNumberText(makeSliderRecord(kThickness), 10000), "   15% ");
    EXPECT_EQ(sliderNumberText(makeSliderRecord(kAngle), 0x8000), "  180\xDF ");
    EXPECT_EQ(sliderNumberText(makeSliderRecord(kScaleB), -0x50000), " -500  ");
    // 0x7FFFFFFF x 100 / 0x10000 = 3276799: wider than the field, cut to 7 bytes.
    EXPECT_EQ(sliderNumberText(makeSliderRecord(kScaleB), INT32_MAX), " 327679");
    // Truncation toward zero: -1 x 100 / 0x10000 is 0, not -1.
    EXPECT_EQ(sliderNumberText(makeSliderRecord(kScaleB), -1), "    0  ");
}

TEST(SliderNumberText, NamesFromTheList)
{
    const SliderRecord source = makeSliderRecord(kSource, &sourceLabels());
    EXPECT_EQ(sliderNumberText(source, 16), " " + std::string(sourceLabels().entry(16)));
    // Indices the list has no entry for show as numbers.
    EXPECT_EQ(sliderNumberText(source, 34), "   34  ");
    EXPECT_EQ(sliderNumberText(source, -1), "   -1  ");
    EXPECT_EQ(sliderNumberText(source, INT32_MAX).size(), kSliderNumberBytes);

    const NameList shortNames = makeNameList({"a", "bc"});
    SliderRecord mode = makeSliderRecord(kMode, &shortNames);
    EXPECT_EQ(sliderNumberText(mode, 1), " bc    ");
}

class SliderClick : public ::testing::Test {
protected:
    SliderRecord thickness = makeSliderRecord(kThickness);
    SliderRecord scale = makeSliderRecord(kScaleB, nullptr, true);
};

TEST_F(SliderClick, BarEndsSetMinAndMax)
{
    EXPECT_EQ(sliderLeftClick(thickness, 0x8000, 0, kW), 1);
    EXPECT_EQ(sliderLeftClick(thickness, 0x8000, 178, kW), 0x20000);
    // 1 + 0x1FFFF x 89 / 178 = 0x10000.
    EXPECT_EQ(sliderLeftClick(thickness, 0, 89, kW), 0x10000);
    EXPECT_EQ(sliderLeftClick(scale, 0, 0, 98), -0x50000);
    EXPECT_EQ(sliderLeftClick(scale, 0, 35, 98), 0x50000);
}

TEST_F(SliderClick, StepButtonsClampAtTheirEnd)
{
    // "<" covers W - 19 .. W - 10, ">" W - 9 onward; label and number change nothing.
    EXPECT_EQ(sliderLeftClick(thickness, 0x8000, 179, kW), 0x8000);
    EXPECT_EQ(sliderLeftClick(thickness, 0x8000, 248, kW), 0x8000);
    EXPECT_EQ(sliderLeftClick(thickness, 0x8000, 249, kW), 0x8000 - 655);
    EXPECT_EQ(sliderLeftClick(thickness, 0x8000, 258, kW), 0x8000 - 655);
    EXPECT_EQ(sliderLeftClick(thickness, 0x8000, 259, kW), 0x8000 + 655);
    EXPECT_EQ(sliderLeftClick(thickness, 0x20000, 263, kW), 0x20000);
    EXPECT_EQ(sliderLeftClick(thickness, 1, 253, kW), 1);
    EXPECT_EQ(sliderLeftClick(thickness, 100, 253, kW), 1);

    // The compact variant keeps the buttons in the same place.
    EXPECT_EQ(sliderLeftClick(scale, 0, 78, 98), 0);
    EXPECT_EQ(sliderLeftClick(scale, 0, 79, 98), -655);
    EXPECT_EQ(sliderLeftClick(scale, 0, 88, 98), -655);
    EXPECT_EQ(sliderLeftClick(scale, 0, 89, 98), 655);
}

TEST_F(SliderClick, SmallRangeLandsOnTheNearestIndex)
{
    // 0..23 on a 220-wide control: A = 128, half step = (128 / 23) / 2 = 2.
    const SliderRecord mode = makeSliderRecord(kMode);
    constexpr int32_t w = 218;
    EXPECT_EQ(sliderLeftClick(mode, 0, 3, w), 0);  // 23 x 5 / 128
    EXPECT_EQ(sliderLeftClick(mode, 0, 4, w), 1);  // 23 x 6 / 128
    EXPECT_EQ(sliderLeftClick(mode, 0, 128, w), 23);
    // A press on the line drawn for an index selects that index.
    for (int32_t n = 0; n <= 23; ++n) {
        const int32_t x = int32_t(sliderPosition(mode, n, 128));
        EXPECT_EQ(sliderLeftClick(mode, 0, x, w), n) << "x " << x;
    }
}

TEST_F(SliderClick, OutOfRangeValuesDoNotOverflow)
{
    EXPECT_EQ(sliderLeftClick(scale, INT32_MAX, 97, 98), 0x50000);
    EXPECT_EQ(sliderLeftClick(scale, INT32_MAX, 80, 98), INT32_MAX - 655);
    EXPECT_EQ(sliderLeftClick(scale, INT32_MIN, 80, 98), -0x50000);
    EXPECT_EQ(sliderLeftClick(scale, INT32_MIN, 97, 98), INT32_MIN + 655);
    SliderRecord huge = scale;
    huge.min = INT32_MIN;
    huge.max = INT32_MAX;
    huge.step = INT32_MAX;
    EXPECT_EQ(sliderLeftClick(huge, INT32_MAX, 97, 98), INT32_MAX);
    EXPECT_EQ(sliderLeftClick(huge, INT32_MIN, 80, 98), INT32_MIN);
    EXPECT_EQ(sliderLeftClick(huge, 0, 35, 98), INT32_MAX);
    EXPECT_EQ(sliderLeftClick(huge, 0, 0, 98), INT32_MIN);

    SliderRecord flat = thickness;
    flat.max = flat.min;
    EXPECT_EQ(sliderLeftClick(flat, 7, 50, kW), flat.min);
    EXPECT_EQ(sliderLeftClick(thickness, 7, 0, 40), 7);  // no bar to press on
    EXPECT_EQ(sliderRightClick(thickness), 0x10000);
}

}  // namespace
}  // namespace nelmora
