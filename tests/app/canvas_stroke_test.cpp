#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/canvas_stroke.h"

namespace nelmora {
namespace {

// Records every stroke call as "pen:call(x,y)".
std::vector<std::string>* calls = nullptr;
AppState* recordedState = nullptr;

std::string penName(const Pen* pen) { return pen == recordedState->pens[0] ? "0" : "1"; }

void recordCall(const char* name, Pen* pen, int32_t x, int32_t y)
{
    calls->push_back(penName(pen) + ":" + name + "(" + std::to_string(x) + "," + std::to_string(y) + ")");
}

StrokeOps recordingOps()
{
    return {[](Image*, Pen* p, DrawingValues&, int32_t x, int32_t y) { recordCall("begin", p, x, y); },
            [](Image*, Pen* p, DrawingValues&, int32_t x, int32_t y) { recordCall("continue", p, x, y); },
            [](Image*, Pen* p, DrawingValues&, int32_t x, int32_t y) { recordCall("end", p, x, y); }};
}

class CanvasStrokeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(initApplicationState(state));
        calls = &log;
        recordedState = &state;
    }
    void TearDown() override { shutdownApplicationState(state); }

    void release(int32_t x, int32_t y)
    {
        stroke.buttonUp(state, x, y, [this] { log.push_back("show"); });
    }

    AppState state;
    std::vector<std::string> log;
    CanvasStroke stroke{recordingOps()};
};

using Log = std::vector<std::string>;

TEST_F(CanvasStrokeTest, ClickWithoutMovementLivePen)
{
    stroke.buttonDown(state, 5, 6);
    EXPECT_EQ(stroke.pointCount(), 1);
    release(5, 6);
    EXPECT_EQ(log, (Log{"0:begin(5,6)", "show"}));
    EXPECT_EQ(stroke.pointCount(), 0);
    EXPECT_FALSE(stroke.stroking());
}

TEST_F(CanvasStrokeTest, ClickWithoutMovementDelayedPenWithEndFlag)
{
    state.pens[0]->drawMode = 2;
    state.pens[0]->endFlag = 1;
    stroke.buttonDown(state, 5, 6);
    release(7, 8);
    EXPECT_EQ(log, (Log{"show", "0:begin(5,6)", "0:end(7,8)", "show"}));
}

TEST_F(CanvasStrokeTest, DragReplaysDelayedPenAfterLivePen)
{
    state.pens[1]->drawMode = 2;
    state.pens[0]->endFlag = 1;
    stroke.buttonDown(state, 0, 0);
    stroke.mouseMove(state, 1, 0);
    stroke.mouseMove(state, -2, 0);  // left of the canvas: passed on unchanged
    release(3, 0);
    EXPECT_EQ(log, (Log{"0:begin(0,0)", "0:continue(1,0)", "0:continue(-2,0)", "0:end(3,0)", "show",
                        "1:begin(0,0)", "1:continue(1,0)", "show", "1:continue(-2,0)", "show"}));
}

TEST_F(CanvasStrokeTest, BothDelayedPensReplayInOrder)
{
    for (Pen* p : state.pens) p->drawMode = 2;
    stroke.buttonDown(state, 1, 1);
    stroke.mouseMove(state, 2, 2);
    release(3, 3);
    EXPECT_EQ(log, (Log{"show", "0:begin(1,1)", "0:continue(2,2)", "show", "1:begin(1,1)", "1:continue(2,2)", "show"}));
}

TEST_F(CanvasStrokeTest, PensOffAndMovesOutsideAStrokeDoNothing)
{
    EXPECT_FALSE(stroke.mouseMove(state, 4, 4));
    release(4, 4);  // an up without a down only releases the capture
    EXPECT_TRUE(log.empty());
    state.pens[0]->drawMode = 0;
    stroke.buttonDown(state, 1, 1);
    EXPECT_TRUE(stroke.mouseMove(state, 2, 2));
    release(3, 3);
    EXPECT_EQ(log, (Log{"show"}));
}

TEST_F(CanvasStrokeTest, RecordsMoreThanTheUsualCapacityWithoutLosingTheEnd)
{
    state.pens[0]->drawMode = 2;
    state.pens[0]->endFlag = 1;
    stroke.buttonDown(state, 0, 0);
    for (int i = 1; i <= 100005; ++i) stroke.mouseMove(state, i % 100, 0);
    EXPECT_EQ(stroke.pointCount(), 100006);
    release(9, 9);
    EXPECT_EQ(log.back(), "show");
    EXPECT_EQ(log[log.size() - 2], "0:end(9,9)");
}

TEST_F(CanvasStrokeTest, RightClickPicksIntoColourOne)
{
    state.currentImage->at(3, 4) = 0xFF0000;
    aimActiveColor(state.activeColorTargets, state.drawingValues, 1);
    EXPECT_TRUE(pickColour(state, 3, 4));
    EXPECT_EQ(state.drawingValues[dv::hue1], 0);
    EXPECT_EQ(state.drawingValues[dv::saturation1], 0xFFFF);
    EXPECT_EQ(state.drawingValues[dv::brightness1], 0xFFFF);
    EXPECT_EQ(state.drawingValues[dv::saturation2], 40000);
    EXPECT_FALSE(pickColour(state, 200, 0));
    EXPECT_FALSE(pickColour(state, -1, 0));
}

TEST(FillImage, CheckerOfEightPixelSquares)
{
    ImagePtr image(createImage(20, 10, 0, 0, 0));
    fillImage(*image, kCheckerDark, kCheckerLight);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool firstBand = y < 8;
            const bool light = ((x < 8 || x >= 16) == firstBand);
            EXPECT_EQ(image->at(x, y), light ? 0xC0C0C0u : 0x404040u) << x << "," << y;
        }
}

}  // namespace
}  // namespace nelmora
