// The channel slider: its picture for a 128 x 18 client and its clicks.
#include <gtest/gtest.h>

#include "color/color_slider.h"
#include "color_state_fixture.h"

namespace nelmora {
namespace {

class ColorSliderTest : public ColorStateTest {
protected:
    void SetUp() override
    {
        ColorStateTest::SetUp();
        strip.reset(createImage(kColorSliderStripWidth, kColorSliderStripHeight, 0, 0, 0xFFFFFF));
        ASSERT_NE(strip, nullptr);
    }
    ColorSliderRecord slider(int32_t channel) { return {channel}; }

    ImagePtr strip;
};

TEST_F(ColorSliderTest, HueSliderPicture)
{
    // W = 128, Hc = 18: T = 13, value line at 0x8000 * 128 / 65536 = 64.
    renderColorSlider(*strip, 128, 18, 1, 0x8000, 0xFFFF, 0xFFFF);
    // Column 0, K = hsbToRgb(0, 0xFFFF, 0xFFFF) = 0xFE0000. Left of the value the top
    // row mixes K with mixColor(0, white, 255) = 0xFEFEFE at weight 100:
    // (254*156 + 254*100 + 128) >> 8 = 254, (254*100 + 128) >> 8 = 99.
    EXPECT_EQ(strip->at(0, 0), 0xFFFE6363u);
    // Row 12: shade (12*1024/18)/3 = 227, grey weight 28 gives 0x1C;
    // (254*156 + 28*100 + 128) >> 8 = 166, (28*100 + 128) >> 8 = 11.
    EXPECT_EQ(strip->at(0, 12), 0xFFA60B0Bu);
    // Column 127, v = 65024: sector 5, p = 1524, pure (255, 0, 12) -> K = 0xFE000B.
    // Right of the value the top row mixes with black: (254*156 + 128) >> 8 = 155, (11*156 + 128) >> 8 = 7.
    EXPECT_EQ(strip->at(127, 0), 0xFF9B0007u);
    // Lower band: the pure hue ramp F, with black at row T up to the value line.
    EXPECT_EQ(strip->at(127, 13), 0xFE000Bu);
    EXPECT_EQ(strip->at(127, 17), 0xFE000Bu);
    EXPECT_EQ(strip->at(0, 17), 0xFE0000u);
    EXPECT_EQ(strip->at(64, 13), 0u);
    EXPECT_NE(strip->at(65, 13), 0u);
    for (int32_t y = 0; y < 13; ++y) EXPECT_EQ(strip->at(64, y), 0u) << y;
    EXPECT_NE(strip->at(64, 14), 0u);
    EXPECT_EQ(strip->at(128, 0), 0xFFFFFFu);  // beyond the client
}

TEST_F(ColorSliderTest, RedSliderPicture)
{
    // (255, 32, 32): value line at 255 * 128 / 256 = 127.
    renderColorSlider(*strip, 128, 18, 4, 0xFFFF, 57087, 0xFFFF);
    // Column 64: u = 128, K = 0x802020; top row (128*156 + 254*100 + 128) >> 8 = 177,
    // (32*156 + 254*100 + 128) >> 8 = 119.
    EXPECT_EQ(strip->at(64, 0), 0xFFB17777u);
    EXPECT_EQ(strip->at(64, 13), 0u);
    EXPECT_EQ(strip->at(64, 14), 0x800000u);
    EXPECT_EQ(strip->at(127, 5), 0u);
}

TEST_F(ColorSliderTest, ValueLineOfAnOutOfRangeValueStaysOnItsRow)
{
    // Brightness 0x10000 (a square click) puts the line at column W; with the
    // strip's full width that must not spill into the next row.
    renderColorSlider(*strip, kColorSliderStripWidth, kColorSliderStripHeight, 3, 0, 0, 0x10000);
    EXPECT_NE(strip->at(0, 1), 0u);
    EXPECT_NE(strip->at(kColorSliderStripWidth - 1, 0), 0u);
}

TEST_F(ColorSliderTest, HsbClicksStoreTheColumnValue)
{
    setColor(100, 200, 300);
    colorSliderClick(state, slider(1), 0, 128);
    EXPECT_EQ(value(dv::hue1), 0);
    colorSliderClick(state, slider(1), 127, 128);
    EXPECT_EQ(value(dv::hue1), 65024);
    colorSliderClick(state, slider(2), 64, 128);
    EXPECT_EQ(value(dv::saturation1), 32768);
    state.fieldDirty = false;
    colorSliderClick(state, slider(3), 32, 128);
    EXPECT_EQ(value(dv::brightness1), 16384);
    EXPECT_TRUE(state.fieldDirty);
    EXPECT_EQ(value(dv::hue1), 65024);

    EXPECT_FALSE(colorSliderClick(state, slider(1), 0, 0));
    EXPECT_EQ(value(dv::hue1), 65024);
}

TEST_F(ColorSliderTest, RgbClicksGoThroughRgbToHsb)
{
    toggleRgbMode(state.rgbMode);
    ASSERT_EQ(state.rgbMode, kRgbMode);
    // Hue 0xFFFF, saturation 57087, full brightness is (255, 32, 32).
    // Column 16 of 128 gives red 8192 / 256 = 32: a grey, so hue and saturation
    // become 0 and brightness 32 * 256 + 255.
    setColor(0xFFFF, 57087, 0xFFFF);
    colorSliderClick(state, slider(1), 16, 128);
    EXPECT_EQ(value(dv::hue1), 0);
    EXPECT_EQ(value(dv::saturation1), 0);
    EXPECT_EQ(value(dv::brightness1), 8447);

    // The left edge gives (0, 32, 32): green is the first maximum, red the minimum,
    // so hue = 0x5555 + ((32 * 65536) / 6) / 32 = 0x7FFF.
    setColor(0xFFFF, 57087, 0xFFFF);
    colorSliderClick(state, slider(1), 0, 128);
    EXPECT_EQ(value(dv::hue1), 0x7FFF);
    EXPECT_EQ(value(dv::saturation1), 0xFFFF);
    EXPECT_EQ(value(dv::brightness1), 8447);

    // Pure red (254, 0, 0) loses its only channel: black.
    setColor(0, 0xFFFF, 0xFFFF);
    colorSliderClick(state, slider(1), 0, 128);
    EXPECT_EQ(value(dv::hue1), 0);
    EXPECT_EQ(value(dv::saturation1), 0);
    EXPECT_EQ(value(dv::brightness1), 0);
}

}  // namespace
}  // namespace nelmora
