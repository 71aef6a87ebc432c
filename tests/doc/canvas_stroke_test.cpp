#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc/canvas_stroke.h"

namespace nelmora {
namespace {

// Records every stroke call as "pen:call(x,y)".
std::vector<std::string>* calls = nullptr;
Workspace* recordedState = nullptr;

std::string penName(const Pen* pen) { return pen == &recordedState->pen(0) ? "0" : "1"; }

// Every call must paint the workspace's own picture with its own values and
// generator; anything else is logged so that the sequence comparison fails.
void recordCall(const char* name, Image* image, Pen* pen, DrawingValues& values, RandomState& random, int32_t x,
                int32_t y)
{
    if (image != &recordedState->strokeImage() || &values != &recordedState->strokeValues() ||
        &random != &recordedState->strokeRandom())
        calls->push_back("foreign document");
    calls->push_back(penName(pen) + ":" + name + "(" + std::to_string(x) + "," + std::to_string(y) + ")");
}

StrokeOps recordingOps()
{
    return {[](Image* i, Pen* p, DrawingValues& v, RandomState& r, int32_t x, int32_t y) {
                recordCall("begin", i, p, v, r, x, y);
            },
            [](Image* i, Pen* p, DrawingValues& v, RandomState& r, int32_t x, int32_t y) {
                recordCall("continue", i, p, v, r, x, y);
            },
            [](Image* i, Pen* p, DrawingValues& v, RandomState& r, int32_t x, int32_t y) {
                recordCall("end", i, p, v, r, x, y);
            }};
}

class CanvasStrokeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        calls = &log;
        recordedState = &state;
    }
    void setPen(int pen, PenField field, int32_t value) { state.setPenField(pen, field, value); }

    void release(int32_t x, int32_t y)
    {
        stroke.buttonUp(state, x, y, [this] { log.push_back("show"); });
    }

    Workspace state;
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
    setPen(0, PenField::drawMode, 2);
    setPen(0, PenField::endFlag, 1);
    stroke.buttonDown(state, 5, 6);
    release(7, 8);
    EXPECT_EQ(log, (Log{"show", "0:begin(5,6)", "0:end(7,8)", "show"}));
}

TEST_F(CanvasStrokeTest, DragReplaysDelayedPenAfterLivePen)
{
    setPen(1, PenField::drawMode, 2);
    setPen(0, PenField::endFlag, 1);
    stroke.buttonDown(state, 0, 0);
    stroke.mouseMove(state, 1, 0);
    stroke.mouseMove(state, -2, 0);  // left of the canvas: passed on unchanged
    release(3, 0);
    EXPECT_EQ(log, (Log{"0:begin(0,0)", "0:continue(1,0)", "0:continue(-2,0)", "0:end(3,0)", "show",
                        "1:begin(0,0)", "1:continue(1,0)", "show", "1:continue(-2,0)", "show"}));
}

TEST_F(CanvasStrokeTest, BothDelayedPensReplayInOrder)
{
    for (int pen = 0; pen < kPenCount; ++pen) setPen(pen, PenField::drawMode, 2);
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
    setPen(0, PenField::drawMode, 0);
    stroke.buttonDown(state, 1, 1);
    EXPECT_TRUE(stroke.mouseMove(state, 2, 2));
    release(3, 3);
    EXPECT_EQ(log, (Log{"show"}));
}

TEST_F(CanvasStrokeTest, RecordsMoreThanTheUsualCapacityWithoutLosingTheEnd)
{
    setPen(0, PenField::drawMode, 2);
    setPen(0, PenField::endFlag, 1);
    stroke.buttonDown(state, 0, 0);
    for (int i = 1; i <= 100005; ++i) stroke.mouseMove(state, i % 100, 0);
    EXPECT_EQ(stroke.pointCount(), 100006);
    release(9, 9);
    EXPECT_EQ(log.back(), "show");
    EXPECT_EQ(log[log.size() - 2], "0:end(9,9)");
}

TEST_F(CanvasStrokeTest, RightClickPicksIntoColorOne)
{
    state.strokeImage().at(3, 4) = 0xFF0000;
    EXPECT_TRUE(state.pickColor(3, 4));
    EXPECT_EQ(state.drawingValue(dv::hue1), 0);
    EXPECT_EQ(state.drawingValue(dv::saturation1), 0xFFFF);
    EXPECT_EQ(state.drawingValue(dv::brightness1), 0xFFFF);
    EXPECT_EQ(state.drawingValue(dv::saturation2), 40000);
    EXPECT_FALSE(state.pickColor(200, 0));
    EXPECT_FALSE(state.pickColor(-1, 0));
    EXPECT_FALSE(state.pickColor(0, 200));
}

// Every stroke call's pressure and pen angle, as "pen:pressure/angle".
void logReading(Image*, Pen* pen, DrawingValues& v, RandomState&, int32_t, int32_t)
{
    calls->push_back(penName(pen) + ":" + std::to_string(v[dv::pressure]) + "/" + std::to_string(v[dv::penAngle]));
}

TEST_F(CanvasStrokeTest, ADelayedPenReplaysEachPointWithItsTabletReading)
{
    stroke = CanvasStroke({logReading, logReading, logReading});
    setPen(0, PenField::endFlag, 1);
    setPen(1, PenField::drawMode, kDrawModeDelayed);
    setPen(1, PenField::endFlag, 1);
    stroke.buttonDown(state, 0, 0, PenReading{100, 7});
    stroke.mouseMove(state, 5, 0, PenReading{200, 8});
    stroke.buttonUp(state, 9, 0, [] {}, PenReading{300, 9});
    EXPECT_EQ(log, (Log{"0:100/7", "0:200/8", "0:300/9", "1:100/7", "1:200/8", "1:300/9"}));
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


// Repaint the last stroke with the real engine: one step over the stroke.
struct StrokeRepaint : ::testing::Test {
    std::vector<uint32_t> pixels() const
    {
        const Image& image = workspace.image();
        return {image.pixels, image.pixels + size_t(image.width) * size_t(image.height)};
    }
    void stroke(int32_t y)
    {
        canvas.buttonDown(workspace, 20, y);
        for (int32_t x = 40; x <= 160; x += 20) canvas.mouseMove(workspace, x, y);
        canvas.buttonUp(workspace, 160, y, [] {});
    }
    Workspace workspace;
    CanvasStroke canvas;
};

TEST_F(StrokeRepaint, PaintsThePathAgainAsOneStepThatUndoTakesBack)
{
    stroke(60);
    const std::vector<uint32_t> before = pixels();
    stroke(120);
    const std::vector<uint32_t> withStroke = pixels();
    const uint32_t randomAfter = workspace.random().value;

    // The same pens and values give the same stroke: the generator restarts where it did.
    ASSERT_TRUE(canvas.repaintLast(workspace, [] {}));
    EXPECT_EQ(pixels(), withStroke);
    EXPECT_EQ(workspace.random().value, randomAfter);

    workspace.setDrawingValue(dv::thickness1, 0x30000);
    ASSERT_TRUE(canvas.repaintLast(workspace, [] {}));
    const std::vector<uint32_t> repainted = pixels();
    EXPECT_NE(repainted, withStroke);

    ASSERT_TRUE(workspace.undo());
    EXPECT_EQ(pixels(), withStroke);
    ASSERT_TRUE(workspace.redo());
    EXPECT_EQ(pixels(), repainted);
    ASSERT_TRUE(workspace.undo());
    ASSERT_TRUE(workspace.undo());
    ASSERT_TRUE(workspace.undo());
    EXPECT_EQ(pixels(), before);
}

TEST_F(StrokeRepaint, ATabletStrokeComesBackWithItsPressures)
{
    workspace.setSlot(0, slot::thickness, {dv::pressure, 0x10000, dv::none, 0, 0, 0});
    canvas.buttonDown(workspace, 20, 100, PenReading{0x2000, 0});
    for (int32_t x = 40; x <= 160; x += 20) canvas.mouseMove(workspace, x, 100, PenReading{x * 0x100, 0});
    canvas.buttonUp(workspace, 160, 100, [] {}, PenReading{0, 0});
    const std::vector<uint32_t> withStroke = pixels();

    ASSERT_TRUE(canvas.repaintLast(workspace, [] {}));
    EXPECT_EQ(pixels(), withStroke);
    EXPECT_EQ(workspace.drawingValue(dv::pressure), 0);
}

TEST_F(StrokeRepaint, OnlyWhileTheLastStepIsTheLastStroke)
{
    EXPECT_FALSE(canvas.canRepaintLast(workspace));
    stroke(100);
    EXPECT_TRUE(canvas.canRepaintLast(workspace));
    workspace.undo();
    EXPECT_FALSE(canvas.canRepaintLast(workspace)) << "undone";
    workspace.redo();
    EXPECT_TRUE(canvas.canRepaintLast(workspace)) << "done again";
    workspace.fill(0, 0);
    const std::vector<uint32_t> filled = pixels();
    EXPECT_FALSE(canvas.repaintLast(workspace, [] {}));
    EXPECT_EQ(pixels(), filled);

    // A stroke with both pens off changes nothing and makes no step: the fill stays last.
    workspace.setPenField(0, PenField::drawMode, kDrawModeOff);
    stroke(50);
    EXPECT_FALSE(canvas.canRepaintLast(workspace));
}

}  // namespace
}  // namespace nelmora
