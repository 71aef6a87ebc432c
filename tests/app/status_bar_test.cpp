// The main frame's status bar: what it says about the pointer, the view, the
// pen file and the pens, and that it leaves the canvas where it was.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <filesystem>

#include "app/canvas_view.h"
#include "app/canvas_window.h"
#include "app/status_bar.h"
#include "main_frame_fixture.h"
#include "pointer_input.h"

namespace nelmora {
namespace {

using StatusBarTest = MainFrameFixture;

TEST_F(StatusBarTest, SitsBelowTheClientAndLeavesTheCanvasAtItsTopLeft)
{
    StatusBar* bar = frame->statusLine();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(frame->statusBar(), bar);
    EXPECT_EQ(frame->view()->pos(), QPoint(0, frame->menuBar()->height()));
    EXPECT_EQ(frame->canvas()->mapTo(frame.get(), QPoint(0, 0)), frame->view()->viewport()->mapTo(frame.get(), QPoint(0, 0)));
    EXPECT_GE(bar->y(), frame->view()->geometry().bottom());
    EXPECT_EQ(bar->magnificationLabel()->text(), "100%");
    frame->view()->zoomTo(200);
    EXPECT_EQ(bar->magnificationLabel()->text(), "200%");
}

TEST_F(StatusBarTest, FollowsThePointerOverTheCanvasWithOrWithoutAButton)
{
    StatusBar* bar = frame->statusLine();
    CanvasWindow* canvas = frame->canvas();
    QMouseEvent hover(QEvent::MouseMove, QPointF(30, 40), canvas->mapToGlobal(QPointF(30, 40)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &hover);
    EXPECT_EQ(bar->pointerLabel()->text(), "30, 40");
    dragThrough(canvas, QPoint(5, 5), {QPoint(-7, 300)});
    // Shown a moment later: the label keeps pace with the eye, not with every event.
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->pointerLabel()->text() == "-7, 300"; }, 1000));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(frame->canvas(), &leave);
    EXPECT_TRUE(bar->pointerLabel()->text().isEmpty());
}

TEST_F(StatusBarTest, SaysWhichPenIsEditedWhichPaintAndWhichFileTheyCameFrom)
{
    StatusBar* bar = frame->statusLine();
    EXPECT_EQ(bar->editedPenLabel()->text(), QString::fromUtf8("編集: ペン0"));
    EXPECT_EQ(bar->drawModesLabel()->text(), QString::fromUtf8("描画: ペン0 通常, ペン1 しない"));
    EXPECT_TRUE(bar->penFileLabel()->text().isEmpty());

    frame->document().selectPen(1);
    EXPECT_EQ(bar->editedPenLabel()->text(), QString::fromUtf8("編集: ペン1"));
    workspace().setPenField(1, PenField::drawMode, kDrawModeDelayed);
    EXPECT_EQ(bar->drawModesLabel()->text(), QString::fromUtf8("描画: ペン0 通常, ペン1 遅延"));

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "nelmora_status_bar";
    std::filesystem::create_directories(folder);
    const std::string prefix = folder.string() + "/";
    ASSERT_TRUE(workspace().savePens(prefix, "saved.pen"));
    EXPECT_EQ(bar->penFileLabel()->text(), "saved.pen");
    workspace().setPenField(1, PenField::drawMode, kDrawModeOff);
    ASSERT_TRUE(workspace().loadPens(prefix, "saved.pen"));
    EXPECT_EQ(bar->drawModesLabel()->text(), QString::fromUtf8("描画: ペン0 通常, ペン1 遅延"));
    EXPECT_FALSE(workspace().loadPens(prefix, "missing.pen"));
    EXPECT_EQ(bar->penFileLabel()->text(), "saved.pen");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace nelmora
