// Cancelling a stroke part way: the engine's report throws, as the canvas's
// does after Esc, and the stroke is taken back. Whatever call it was cut
// short in, the document is as before the press, history and generator
// included, and painting goes on as if the stroke had never been.
#include <gtest/gtest.h>

#include <vector>

#include "doc/canvas_stroke.h"
#include "engine/slots.h"

namespace nelmora {
namespace {

struct Abandoned {};

// Throws at the n-th report of the engine.
struct AbandonAfter {
    int reportsLeft;
    static void report(void* self)
    {
        if (--static_cast<AbandonAfter*>(self)->reportsLeft == 0) throw Abandoned{};
    }
};

struct Document {
    int32_t width, height;
    std::vector<uint32_t> pixels;
    uint32_t random;
    DrawingValues values;
    std::vector<uint8_t> pens;
    std::vector<int32_t> penMotion;
    size_t steps, undoable, bytes;
    uint64_t generation;
    bool operator==(const Document&) const = default;
};

Document documentOf(Workspace& w)
{
    const Image& image = w.image();
    Document d{image.width, image.height, {image.pixels, image.pixels + size_t(image.width) * image.height},
               w.random().value, w.drawingValues(), w.penFileBytes(), {}, w.history().stepCount(),
               w.history().undoableCount(), w.history().bytes(), w.history().generation()};
    for (int n = 0; n < kPenCount; ++n) {
        const Pen& p = w.pen(n);
        d.penMotion.insert(d.penMotion.end(), {p.lastX, p.lastY, p.lastDX, p.lastDY, p.dabX, p.dabY, p.carry});
        d.penMotion.insert(d.penMotion.end(), p.lastOutputs.begin(), p.lastOutputs.end());
    }
    return d;
}

// Pen 0 as from a pen file whose thickness slot is the base 0x7FFFFFFF alone:
// every dab covers the picture, 5/256 pixel from the last.
void useHugeThickness(Workspace& workspace) { workspace.setSlot(0, slot::thickness, {0, 0, 0, 0, 0x7FFFFFFF, 0}); }

void stroke(Workspace& workspace, CanvasStroke& canvas, int32_t x, int32_t y, int32_t toX)
{
    canvas.buttonDown(workspace, x, y);
    canvas.mouseMove(workspace, (x + toX) / 2, y);
    canvas.mouseMove(workspace, toX, y);
    canvas.buttonUp(workspace, toX, y, [] {});
}

// A history to keep: a stroke done, and one undone that redo can bring back.
void makeHistory(Workspace& workspace, CanvasStroke& canvas)
{
    stroke(workspace, canvas, 10, 10, 50);
    stroke(workspace, canvas, 10, 30, 50);
    workspace.undo();
}

class StrokeCancel : public ::testing::Test {
protected:
    StrokeCancel() : workspace(60, 40) { makeHistory(workspace, canvas); }
    void stroke(int32_t x, int32_t y, int32_t toX) { nelmora::stroke(workspace, canvas, x, y, toX); }
    void hugeThickness() { useHugeThickness(workspace); }
    // Runs `call` with the engine abandoning it at its `reports`-th report.
    template <typename Call>
    void abandonAt(int reports, Call call)
    {
        AbandonAfter abandon{reports};
        Image& image = workspace.strokeImage();
        image.whilePainting = AbandonAfter::report;
        image.paintingListener = &abandon;
        EXPECT_THROW(call(), Abandoned);
        image.whilePainting = nullptr;
        EXPECT_TRUE(canvas.cancel(workspace, true));
    }

    Workspace workspace;
    CanvasStroke canvas;
};

TEST_F(StrokeCancel, CutShortInAMoveOrARelease_LeavesNoTrace)
{
    hugeThickness();
    // Blur reads the picture as it goes, so a half-restored row would show.
    workspace.setPenField(0, PenField::blendIndex, 22);
    Document before = documentOf(workspace);
    canvas.buttonDown(workspace, 5, 5);
    abandonAt(40, [this] { canvas.mouseMove(workspace, 30, 20); });
    EXPECT_EQ(documentOf(workspace), before) << "cut short in a move";
    EXPECT_FALSE(canvas.stroking());

    workspace.setPenField(0, PenField::drawMode, kDrawModeDelayed);
    workspace.setPenField(0, PenField::endFlag, 1);
    before = documentOf(workspace);
    canvas.buttonDown(workspace, 5, 5);
    canvas.mouseMove(workspace, 6, 5);
    abandonAt(20, [this] { canvas.buttonUp(workspace, 8, 6, [] {}); });
    EXPECT_EQ(documentOf(workspace), before) << "cut short in the delayed pen's replay";

    // Redo still brings back the step undone before the cancelled strokes.
    EXPECT_TRUE(workspace.redo());
}

TEST_F(StrokeCancel, TheNextStrokePaintsAsIfTheCancelledOneHadNeverBeen)
{
    Workspace untouched(60, 40);
    CanvasStroke untouchedCanvas;
    makeHistory(untouched, untouchedCanvas);
    const Document before = documentOf(workspace);

    canvas.buttonDown(workspace, 2, 2);
    canvas.mouseMove(workspace, 40, 30);
    EXPECT_TRUE(canvas.cancel(workspace)) << "Esc between moves";
    EXPECT_EQ(documentOf(workspace), before);
    EXPECT_FALSE(canvas.cancel(workspace)) << "nothing under way";

    stroke(5, 35, 55);
    nelmora::stroke(untouched, untouchedCanvas, 5, 35, 55);
    EXPECT_EQ(documentOf(workspace), documentOf(untouched));
}

TEST_F(StrokeCancel, CutShortInARepaintBringsTheLastStrokeBack)
{
    stroke(5, 20, 55);
    const Document before = documentOf(workspace);
    hugeThickness();
    const DrawingValues values = workspace.drawingValues();

    abandonAt(10, [this] { canvas.repaintLast(workspace, [] {}); });
    Document after = documentOf(workspace);
    after.pens = before.pens;  // the thickness slot was changed on purpose
    EXPECT_EQ(after, before);
    EXPECT_EQ(workspace.drawingValues(), values);
    EXPECT_TRUE(canvas.canRepaintLast(workspace)) << "the last step is still the last stroke";
}

TEST(EngineReports, LargeDabsReportAsTheyGoAndPaintTheSame)
{
    Workspace listened(400, 300), unlistened(400, 300);
    int reports = 0;
    listened.strokeImage().paintingListener = &reports;
    listened.strokeImage().whilePainting = [](void* count) { ++*static_cast<int*>(count); };
    for (Workspace* w : {&listened, &unlistened}) {
        useHugeThickness(*w);
        CanvasStroke canvas;
        canvas.buttonDown(*w, 10, 10);
        canvas.mouseMove(*w, 10, 11);
        canvas.buttonUp(*w, 10, 11, [] {});
    }
    // Dabs of 120000 pixels: a report at each dab and one per 65536 pixels.
    const int dabs = listened.drawingValue(dv::count3) / 256;
    EXPECT_GT(dabs, 10);
    EXPECT_EQ(reports, 2 * dabs);
    EXPECT_EQ(documentOf(listened), documentOf(unlistened));
}

}  // namespace
}  // namespace nelmora
