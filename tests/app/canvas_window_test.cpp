#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "app/canvas_window.h"
#include "app/document.h"
#include "app/main_frame.h"
#include "fake_dialogs.h"
#include "paint_counter.h"

namespace nelmora {
namespace {

// The stroke calls as "pen:call(x,y)"; the drawing calls mark one pixel
// changed, as the engine would, so that there is something to show.
std::vector<std::string> calls;
const Workspace* recordedWorkspace = nullptr;

void record(const char* name, Image* image, Pen* pen, int32_t x, int32_t y, bool draws)
{
    calls.push_back(std::string(pen == &recordedWorkspace->pen(0) ? "0" : "1") + ":" + name + "(" + std::to_string(x) +
                    "," + std::to_string(y) + ")");
    if (draws) unionUpdate(image->update, UpdateRect{0, 0, 1, 1});
}

StrokeOps recordingOps()
{
    return {[](Image* i, Pen* p, DrawingValues&, RandomState&, int32_t x, int32_t y) {
                record("begin", i, p, x, y, false);
            },
            [](Image* i, Pen* p, DrawingValues&, RandomState&, int32_t x, int32_t y) {
                record("continue", i, p, x, y, true);
            },
            [](Image* i, Pen* p, DrawingValues&, RandomState&, int32_t x, int32_t y) {
                record("end", i, p, x, y, true);
            }};
}

class CanvasWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setDialogs(&fake);
        calls.clear();
        recordedWorkspace = &frame.document().workspace();
        frame.show();
        QCoreApplication::processEvents();
        canvas = frame.canvas();
        canvas->installEventFilter(&counter);
    }
    void TearDown() override { setDialogs(nullptr); }

    // Lets a screen frame pass, so whatever was scheduled is painted.
    static void settle()
    {
        QTest::qWait(40);
        QCoreApplication::processEvents();
    }
    bool updatePending() { return !isEmpty(frame.document().workspace().image().update); }

    PaintCounter counter;
    FakeDialogs fake;
    MainFrame frame{recordingOps()};
    CanvasWindow* canvas = nullptr;
};

using Calls = std::vector<std::string>;

TEST_F(CanvasWindowTest, DragDrivesBothPensAndShowsChangesAtMostOncePerFrame)
{
    Workspace& workspace = frame.document().workspace();
    workspace.setPenField(0, PenField::endFlag, 1);
    workspace.setPenField(1, PenField::drawMode, kDrawModeDelayed);
    workspace.setPenField(1, PenField::endFlag, 1);

    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(calls, (Calls{"0:begin(10,10)"}));
    settle();
    EXPECT_EQ(counter.paints, 0);  // the start draws nothing, so nothing is shown
    EXPECT_TRUE(canvas->stroke().stroking());

    // Changes are taken from the picture at once and shown at the next screen frame.
    QTest::mouseMove(canvas, QPoint(12, 10));
    EXPECT_FALSE(updatePending());
    settle();
    EXPECT_EQ(counter.paints, 1);
    // Left of the canvas and below it, under the button's implicit grab. A
    // frame after the last one shows at once; the next change within the same
    // frame waits for the frame after.
    QTest::mouseMove(canvas, QPoint(-4, 10));
    QTest::mouseMove(canvas, QPoint(30, 250));
    QTest::mouseMove(canvas, QPoint(31, 250));
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 2);
    settle();
    EXPECT_EQ(counter.paints, 3);
    EXPECT_EQ(canvas->stroke().pointCount(), 5);

    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(-6, 70000));
    EXPECT_EQ(calls, (Calls{"0:begin(10,10)", "0:continue(12,10)", "0:continue(-4,10)", "0:continue(30,250)",
                            "0:continue(31,250)", "0:end(-6,70000)", "1:begin(10,10)", "1:continue(12,10)",
                            "1:continue(-4,10)", "1:continue(30,250)", "1:continue(31,250)", "1:end(-6,70000)"}));
    // The live end and the whole replay (five calls) are shown together, once.
    settle();
    EXPECT_EQ(counter.paints, 4);
    EXPECT_FALSE(updatePending());
    EXPECT_FALSE(canvas->stroke().stroking());
    EXPECT_EQ(canvas->stroke().pointCount(), 0);
}

TEST_F(CanvasWindowTest, MovesWithoutAStrokeAndTheRightButtonDrawNothing)
{
    QTest::mouseMove(canvas, QPoint(5, 5));
    QTest::mousePress(canvas, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseMove(canvas, QPoint(6, 6));
    QTest::mouseRelease(canvas, Qt::RightButton, {}, QPoint(6, 6));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(6, 6));  // an up without a down
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(canvas->stroke().stroking());
}

}  // namespace
}  // namespace nelmora
