// The color field: clicks in each mode, the render cache, and the pictures.
#include <gtest/gtest.h>

#include "color/color_creator_state.h"
#include "engine/color_field.h"
#include "engine/color.h"
#include "color_state_fixture.h"

namespace nelmora {
namespace {

class ColorFieldTest : public ColorStateTest {
protected:
    void SetUp() override
    {
        ColorStateTest::SetUp();
        image.reset(createImage(kColorFieldImageWidth, kColorFieldImageHeight, 0, 0, kSentinel));
        ASSERT_NE(image, nullptr);
    }
    uint32_t px(int32_t x, int32_t y) const { return image->at(x, y) & 0xFFFFFF; }

    static constexpr uint32_t kSentinel = 0x123456;
    ImagePtr image;
};

TEST_F(ColorFieldTest, WheelClicksSetHueFromTheAngleAndSaturationFromTheRadius)
{
    setColor(5000, 40000, 0xFFFF);
    fieldLeftClick(state, 100, 190);  // the centre: atan2(0, 0)
    EXPECT_EQ(value(dv::hue1), 0);
    EXPECT_EQ(value(dv::saturation1), 0);

    // Half the radius away: r = 0.5, so saturation 32768.
    fieldLeftClick(state, 150, 190);
    EXPECT_EQ(value(dv::hue1), 16384);
    EXPECT_EQ(value(dv::saturation1), 32768);
    fieldLeftClick(state, 100, 240);
    EXPECT_EQ(value(dv::hue1), 32768);
    fieldLeftClick(state, 50, 190);
    EXPECT_EQ(value(dv::hue1), 49152);
    EXPECT_EQ(value(dv::brightness1), 0xFFFF);
}

TEST_F(ColorFieldTest, ClicksOffTheWheelChangeNothingButStillAskForARender)
{
    setColor(1234, 2345, 3456);
    for (auto [x, y] : {std::pair{100, 50}, std::pair{100, 90}, std::pair{199, 289}, std::pair{0, 190}}) {
        state.fieldDirty = false;
        fieldLeftClick(state, x, y);
        EXPECT_TRUE(state.fieldDirty) << x << "," << y;
    }
    EXPECT_EQ(value(dv::hue1), 1234);
    EXPECT_EQ(value(dv::saturation1), 2345);
    EXPECT_EQ(value(dv::brightness1), 3456);
}

TEST_F(ColorFieldTest, DragsArePressesWhereTheyEndHeldOnTheWheelOrSquare)
{
    for (int32_t mode : {kHueSaturationWheel, kHueBrightnessWheel, kSaturationBrightnessSquare}) {
        state.fieldMode = mode;
        for (auto [x, y] : {std::pair{100, 190}, std::pair{150, 120}, std::pair{3, 190}, std::pair{199, 289}}) {
            if (!fieldContains(state, x, y)) continue;
            setColor(1234, 2345, 3456);
            fieldLeftClick(state, x, y);
            const DrawingValues pressed = workspace.drawingValues();
            setColor(1234, 2345, 3456);
            fieldDrag(state, x, y);
            EXPECT_EQ(workspace.drawingValues(), pressed) << mode << " " << x << "," << y;
        }
    }

    // Off the wheel, the drag stays on its rim in the pointer's direction.
    state.fieldMode = kHueSaturationWheel;
    setColor(1234, 2345, 3456);
    fieldDrag(state, 400, 190);
    EXPECT_EQ(value(dv::hue1), 16384);
    EXPECT_GT(value(dv::saturation1), 64000);
    fieldDrag(state, 100, -500);
    EXPECT_EQ(value(dv::hue1), 0);

    // Off the square, on its nearest edge.
    state.fieldMode = kSaturationBrightnessSquare;
    fieldDrag(state, -30, 1000);
    EXPECT_EQ(value(dv::saturation1), 0);
    EXPECT_EQ(value(dv::brightness1), 327);
}

TEST_F(ColorFieldTest, BrightnessWheelSetsBrightnessInsteadOfSaturation)
{
    fieldRightClick(state);
    ASSERT_EQ(state.fieldMode, kHueBrightnessWheel);
    setColor(0, 40000, 0xFFFF);
    fieldLeftClick(state, 150, 190);
    EXPECT_EQ(value(dv::hue1), 16384);
    EXPECT_EQ(value(dv::saturation1), 40000);
    EXPECT_EQ(value(dv::brightness1), 32768);
}

TEST_F(ColorFieldTest, SquareClicksAreOneRowAboveThePicture)
{
    state.fieldMode = kSaturationBrightnessSquare;
    setColor(777, 1, 1);
    fieldLeftClick(state, 0, 90);  // top row: (200 - 90 + 90) * 65536 / 200
    EXPECT_EQ(value(dv::saturation1), 0);
    EXPECT_EQ(value(dv::brightness1), 0x10000);
    fieldLeftClick(state, 199, 289);  // 199 * 65536 / 200 = 65208.3; 1 * 65536 / 200 = 327.7
    EXPECT_EQ(value(dv::saturation1), 65208);
    EXPECT_EQ(value(dv::brightness1), 327);
    EXPECT_EQ(value(dv::hue1), 777);

    // The wheel does not apply to the square, nor does a click above it.
    fieldLeftClick(state, 100, 190);
    EXPECT_EQ(value(dv::saturation1), 100 * 65536 / 200);
    fieldLeftClick(state, 100, 89);
    fieldLeftClick(state, 200, 150);
    EXPECT_EQ(value(dv::saturation1), 100 * 65536 / 200);
    EXPECT_EQ(value(dv::hue1), 777);
}

TEST_F(ColorFieldTest, RightClicksCycleTheThreeModes)
{
    EXPECT_EQ(state.fieldMode, kHueSaturationWheel);
    fieldRightClick(state);
    EXPECT_EQ(state.fieldMode, kHueBrightnessWheel);
    fieldRightClick(state);
    EXPECT_EQ(state.fieldMode, kSaturationBrightnessSquare);
    state.fieldDirty = false;
    fieldRightClick(state);
    EXPECT_EQ(state.fieldMode, kHueSaturationWheel);
    EXPECT_TRUE(state.fieldDirty);
}

TEST_F(ColorFieldTest, RendersOnlyWhenTheEditedColorChangedOrTheFieldIsDirty)
{
    EXPECT_TRUE(renderFieldIfNeeded(state, *image));
    EXPECT_FALSE(renderFieldIfNeeded(state, *image));
    workspace.setDrawingValue(dv::hue2, 999);  // not the edited color
    EXPECT_FALSE(renderFieldIfNeeded(state, *image));
    workspace.setDrawingValue(dv::brightness1, 100);
    EXPECT_TRUE(renderFieldIfNeeded(state, *image));
    EXPECT_FALSE(renderFieldIfNeeded(state, *image));
    state.fieldDirty = true;
    EXPECT_TRUE(renderFieldIfNeeded(state, *image));
    EXPECT_FALSE(state.fieldDirty);

    // Editing color 2, which differs from the cached color 1, needs a render.
    state.secondColorActive = 1;
    EXPECT_TRUE(renderFieldIfNeeded(state, *image));
}

TEST_F(ColorFieldTest, WheelRimIsFullHuesWhateverTheOtherChannel)
{
    renderColorField(*image, kHueSaturationWheel, 0, 0, 0);  // brightness 0: a black interior
    // (1, 190): dx = -99, r = 0.99, hue 49152: sector 4, p = 1152, pure (128, 0, 255);
    // with s = v = 0xFFFF: 32767 * 65535 >> 24 = 127 and 65279 * 65535 >> 24 = 254.
    EXPECT_EQ(px(1, 190), 0x7F00FEu);
    EXPECT_EQ(px(150, 190), 0u);

    ImagePtr other(createImage(kColorFieldImageWidth, kColorFieldImageHeight, 0, 0, 0));
    // Saturation 0: a grey interior; brightness 0x8000 keeps the markers well inside the rim.
    renderColorField(*other, kHueBrightnessWheel, 0, 0, 0x8000);
    int rimPixels = 0;
    for (int32_t y = kFieldTop; y < kFieldTop + kFieldSize; ++y)
        for (int32_t x = 0; x < kFieldSize; ++x) {
            const WheelPoint p = wheelPoint(x, y);
            if (p.r < 0.98 || p.r >= 1) continue;
            ++rimPixels;
            ASSERT_EQ(px(x, y), hsbToRgb(p.hue, 0xFFFF, 0xFFFF)) << x << "," << y;
            ASSERT_EQ(other->at(x, y), px(x, y)) << x << "," << y;
        }
    EXPECT_GT(rimPixels, 1000);
}

TEST_F(ColorFieldTest, WheelAndSquareInteriorsFollowTheFormulas)
{
    // (150, 190): r = 0.5, hue 16384: sector 1, p = 384, pure (128, 255, 0).
    // Mode 16, s = 32768, v = 0x8000: channels (x*s >> 8) + 32767 = 49151, 65407, 32767,
    // times 32768 >> 24 = 95, 127, 63.
    renderColorField(*image, kHueSaturationWheel, 0, 40000, 0x8000);
    EXPECT_EQ(px(150, 190), 0x5F7F3Fu);
    EXPECT_EQ(px(0, 90), 0xFFFFFFu);  // outside the circle
    EXPECT_EQ(px(57, 12), 0xFFFFFFu);  // the top area
    // Mode 17, s = 0xFFFF, v = 32768: 32767 * 32768 >> 24 = 63, 65279 * 32768 >> 24 = 127.
    renderColorField(*image, kHueBrightnessWheel, 0, 0xFFFF, 0xFFFF);
    EXPECT_EQ(px(150, 190), 0x3F7F00u);
    // Mode 18 at (100, 190), field row 100: s = 32768, v = 99 * 65536 / 200 = 32440;
    // pure red (255, 0, 0): 65407 * 32440 >> 24 = 126, 32767 * 32440 >> 24 = 63.
    renderColorField(*image, kSaturationBrightnessSquare, 0, 0x2000, 0x2000);
    EXPECT_EQ(px(100, 190), 0x7E3F3Fu);
    // Top left of the square is white (s = 0, v = 199 * 65536 / 200 = 65208: 0xFFFF * 65208 >> 24 = 254).
    EXPECT_EQ(px(0, 90), 0xFEFEFEu);
    EXPECT_EQ(px(5, 5), 0xFFFFFFu);
    EXPECT_EQ(px(0, 290), kSentinel);
}

TEST_F(ColorFieldTest, WheelMarkersSitOnTheEditedColor)
{
    // Hue 0 points the needle straight up: rows trunc(190 - k * 100 / 30) in column 100.
    // Saturation 0x8000 is a circle of radius 50 and a ring of radius 2 around (100, 140).
    renderColorField(*image, kHueSaturationWheel, 0, 0x8000, 0xFFFF);
    for (auto [x, y] : {std::pair{100, 186}, std::pair{100, 180}, std::pair{100, 93},  // needle
                        std::pair{100, 140}, std::pair{100, 240},                       // circle
                        std::pair{100, 138}, std::pair{100, 142}})                      // ring
        EXPECT_EQ(px(x, y), 0u) << x << "," << y;
    EXPECT_NE(px(100, 139), 0u);

    renderColorField(*image, kHueBrightnessWheel, 0, 0xFFFF, 0x8000);
    for (auto [x, y] : {std::pair{100, 186}, std::pair{100, 240}, std::pair{100, 138}, std::pair{100, 142}})
        EXPECT_EQ(px(x, y), 0xFFFFFFu) << x << "," << y;
    EXPECT_NE(px(100, 139), 0xFFFFFFu);
}

TEST_F(ColorFieldTest, SquareMarkersCrossAtTheEditedColor)
{
    // Column 0x8000 * 200 / 65536 = 100; row (13107000 - 6553600) / 65536 + 90 = 189.
    renderColorField(*image, kSaturationBrightnessSquare, 0, 0x8000, 0x8000);
    for (auto [x, y] : {std::pair{100, 90}, std::pair{100, 93}, std::pair{100, 286},  // vertical dots
                        std::pair{3, 189}, std::pair{196, 189},                        // horizontal dots
                        std::pair{100, 187}, std::pair{100, 191}})                     // ring
        EXPECT_EQ(px(x, y), 0u) << x << "," << y;
    EXPECT_NE(px(100, 188), 0u);
    EXPECT_NE(px(102, 189), 0u);
}

TEST_F(ColorFieldTest, MarkersOfOutOfRangeColorsStayInsideTheDrawnArea)
{
    // Saturation 0x10000 puts the square's vertical line in column 200, which
    // must not wrap into column 0 of the next row.
    renderColorField(*image, kSaturationBrightnessSquare, 0, 0x10000, 0x8000);
    EXPECT_NE(px(0, 91), 0u);
    EXPECT_NE(px(0, 94), 0u);

    // Values far off the scale put markers millions of pixels away; they are
    // skipped, and the undrawn rows 290..299 stay as they were.
    for (int32_t mode : {kHueSaturationWheel, kHueBrightnessWheel, kSaturationBrightnessSquare})
        for (int32_t v : {0x70000000, -0x70000000, 0x10000, -0x10000}) {
            image.reset(createImage(kColorFieldImageWidth, kColorFieldImageHeight, 0, 0, kSentinel));
            renderColorField(*image, mode, v, v, v);
            for (int32_t y = kFieldTop + kFieldSize; y < kColorFieldImageHeight; ++y)
                for (int32_t x = 0; x < kColorFieldImageWidth; ++x)
                    ASSERT_EQ(px(x, y), kSentinel) << mode << " " << v;
        }
}

}  // namespace
}  // namespace nelmora
