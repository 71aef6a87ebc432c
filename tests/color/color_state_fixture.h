#pragma once
// A document at its start values and a color creator state over it.

#include <gtest/gtest.h>

#include "color/color_creator_state.h"

namespace nelmora {

class ColorStateTest : public ::testing::Test {
protected:
    void SetUp() override { initColorCreatorState(state, workspace); }
    void setColor(int32_t h, int32_t s, int32_t b)
    {
        workspace.setDrawingValue(dv::hue1, h);
        workspace.setDrawingValue(dv::saturation1, s);
        workspace.setDrawingValue(dv::brightness1, b);
    }
    int32_t value(int index) const { return workspace.drawingValue(index); }

    Workspace workspace;
    ColorCreatorState state;
};

}  // namespace nelmora
