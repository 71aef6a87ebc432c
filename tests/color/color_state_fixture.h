#pragma once
// Drawing values at their start values and a colour creator state over them.

#include <gtest/gtest.h>

#include "color/color_creator_state.h"

namespace nelmora {

class ColorStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetDrawingValues(values);
        initColorCreatorState(state, values, targets);
    }
    void setColour(int32_t h, int32_t s, int32_t b)
    {
        values[dv::hue1] = h;
        values[dv::saturation1] = s;
        values[dv::brightness1] = b;
    }

    DrawingValues values{};
    ActiveColorTargets targets{};
    ColorCreatorState state;
};

}  // namespace nelmora
