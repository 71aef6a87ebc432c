// Cancelling a stroke part way: the engine's report throws, as the canvas's
// does after Esc, and the stroke is taken back. Whatever call it was cut
// short in, the document is as before the press, history and generator
// included.
#include <gtest/gtest.h>

#include "doc/canvas_stroke.h"
#include "doc/document_state.h"

namespace nelmora {
namespace {

struct Abandoned {};

class StrokeCancel : public ::testing::Test {
protected:
    StrokeCancel() : workspace(60, 40)
    {
        // A history to keep: a stroke done, and one undone that redo can bring back.
        for (int32_t y : {10, 30}) {
            canvas.buttonDown(workspace, 10, y);
            canvas.mouseMove(workspace, 50, y);
            canvas.buttonUp(workspace, 50, y, [] {});
        }
        workspace.undo();
        useHugeThickness(workspace);
    }
    // Runs `call` with the engine abandoning it at its `reports`-th report, then cancels.
    template <typename Call>
    void abandonAt(int reports, Call call)
    {
        Image& image = workspace.strokeImage();
        image.whilePainting = [](void* left) {
            if (--*static_cast<int*>(left) == 0) throw Abandoned{};
        };
        image.paintingListener = &reports;
        EXPECT_THROW(call(), Abandoned);
        image.whilePainting = nullptr;
        EXPECT_TRUE(canvas.cancel(workspace, true));
    }

    Workspace workspace;
    CanvasStroke canvas;
};

// The canvas's tests cut a move short; here the release and a repaint.
TEST_F(StrokeCancel, CutShortInTheDelayedPensReplayLeavesNoTrace)
{
    // Blur reads the picture as it goes, so a half-restored row would show.
    workspace.setPenField(0, PenField::blendIndex, 22);
    workspace.setPenField(0, PenField::drawMode, kDrawModeDelayed);
    const DocumentState before = documentStateOf(workspace);
    canvas.buttonDown(workspace, 5, 5);
    canvas.mouseMove(workspace, 6, 5);
    abandonAt(20, [this] { canvas.buttonUp(workspace, 8, 6, [] {}); });
    EXPECT_EQ(documentStateOf(workspace), before);
    EXPECT_FALSE(canvas.stroking());
    EXPECT_TRUE(workspace.redo()) << "the step undone before is still there";
}

TEST_F(StrokeCancel, CutShortInARepaintBringsTheLastStrokeBack)
{
    workspace.redo();
    const DocumentState before = documentStateOf(workspace);
    abandonAt(10, [this] { canvas.repaintLast(workspace, [] {}); });
    EXPECT_EQ(documentStateOf(workspace), before);
    EXPECT_TRUE(canvas.canRepaintLast(workspace));
}

}  // namespace
}  // namespace nelmora
