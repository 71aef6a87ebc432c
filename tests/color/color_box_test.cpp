// The color box: painting order, which clicks switch the edited color, the swap.
#include <gtest/gtest.h>

#include "color/color_box.h"
#include "color_state_fixture.h"

namespace nelmora {
namespace {

using ColorBoxTest = ColorStateTest;

TEST_F(ColorBoxTest, FreshStartShowsTwoEqualRectanglesWithColorOneInFront)
{
    const auto layers = colorBoxLayers(state, 40, 60);
    // Hue 0, saturation 40000, full brightness: (255, 99, 99).
    EXPECT_EQ(layers[0].color, 0xFF6363u);
    EXPECT_EQ(layers[1].color, 0xFF6363u);
    EXPECT_EQ(layers[0].rect.left, 10);  // color 2 behind
    EXPECT_EQ(layers[0].rect.top, 20);
    EXPECT_EQ(layers[0].rect.right, 40);
    EXPECT_EQ(layers[0].rect.bottom, 60);
    EXPECT_EQ(layers[1].rect.left, 0);  // color 1 in front
    EXPECT_EQ(layers[1].rect.right, 30);
    EXPECT_EQ(layers[1].rect.bottom, 40);
}

TEST_F(ColorBoxTest, OnlyTheOtherRectanglesVisiblePartSwitches)
{
    // The front rectangle, and its part that covers color 2, change nothing.
    for (auto [x, y] : {std::pair{5, 5}, std::pair{20, 30}, std::pair{5, 45}})
        EXPECT_FALSE(colorBoxLeftClick(state, x, y, 40, 60)) << x << "," << y;
    EXPECT_EQ(editedHueIndex(state), dv::hue1);

    EXPECT_TRUE(colorBoxLeftClick(state, 25, 50, 40, 60));  // below color 1
    EXPECT_EQ(state.secondColorActive, 1);
    EXPECT_EQ(editedHueIndex(state), dv::hue2);
    EXPECT_EQ(colorBoxLayers(state, 40, 60)[1].rect.left, 10);  // now in front

    // Color 2 is in front now: the overlap and its own area do nothing.
    EXPECT_FALSE(colorBoxLeftClick(state, 20, 30, 40, 60));
    EXPECT_FALSE(colorBoxLeftClick(state, 35, 55, 40, 60));
    EXPECT_TRUE(colorBoxLeftClick(state, 5, 5, 40, 60));
    EXPECT_EQ(state.secondColorActive, 0);
    EXPECT_EQ(editedHueIndex(state), dv::hue1);

    EXPECT_TRUE(colorBoxLeftClick(state, 35, 25, 40, 60));  // right of color 1
}

TEST_F(ColorBoxTest, SwapExchangesTheColorsButKeepsTheEditedIndex)
{
    workspace.setDrawingValue(dv::hue1, 1);
    workspace.setDrawingValue(dv::saturation1, 2);
    workspace.setDrawingValue(dv::brightness1, 3);
    workspace.setDrawingValue(dv::hue2, 4);
    workspace.setDrawingValue(dv::saturation2, 5);
    workspace.setDrawingValue(dv::brightness2, 6);
    workspace.setDrawingValue(dv::thickness1, 7);
    workspace.swapColors();
    EXPECT_EQ(value(dv::hue1), 4);
    EXPECT_EQ(value(dv::saturation1), 5);
    EXPECT_EQ(value(dv::brightness1), 6);
    EXPECT_EQ(value(dv::hue2), 1);
    EXPECT_EQ(value(dv::saturation2), 2);
    EXPECT_EQ(value(dv::brightness2), 3);
    EXPECT_EQ(value(dv::thickness1), 7);
    EXPECT_EQ(editedHue(state), 4);  // the edited color 1 now holds the former color 2
}

}  // namespace
}  // namespace nelmora
