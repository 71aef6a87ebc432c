// A tablet pen on the canvas, with synthetic tablet events: it strokes as the
// left button does and feeds pressure and pen angle; the mouse copies made of
// it paint nothing twice; the mouse leaves the values alone.
#include <gtest/gtest.h>

#include <QPointingDevice>
#include <QTabletEvent>
#include <algorithm>
#include <vector>

#include "app/canvas_window.h"
#include "app/tablet_reading.h"
#include "app/tablet_tester_window.h"
#include "main_frame_fixture.h"
#include "pointer_input.h"

namespace nelmora {
namespace {

TEST(TabletReading, PressureInTheStrengthUnitAndTheLeanAsTheMotionAngleCounts)
{
    EXPECT_EQ(pressureValue(0.5), 0x8000);  // 32767.5 rounds up
    EXPECT_EQ(pressureValue(1.2), 0xFFFF);
    // Up the picture 0, right a quarter turn, toward the user half, left three quarters.
    EXPECT_EQ(leanAngle(0, -40), 0);
    EXPECT_EQ(leanAngle(40, 0), 0x4000);
    EXPECT_EQ(leanAngle(30, 30), 0x6000);
    EXPECT_EQ(leanAngle(0, 40), 0x8000);
    EXPECT_EQ(leanAngle(-40, 0), 0xC000);
    EXPECT_EQ(leanAngle(0, 0), std::nullopt);
}

class CanvasTablet : public MainFrameFixture {
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        canvas = frame->canvas();
        // Pen 0's thickness follows the pressure alone.
        workspace().setSlot(0, slot::thickness, {dv::pressure, 0x10000, dv::none, 0, 0, 0});
    }
    void tablet(QEvent::Type type, QPoint at, double pressure, QPointF tilt, bool touching = true)
    {
        const Qt::MouseButtons held = type == QEvent::TabletRelease || !touching ? Qt::NoButton : Qt::LeftButton;
        QTabletEvent event(type, &pen, QPointF(at), canvas->mapToGlobal(QPointF(at)), pressure, float(tilt.x()),
                           float(tilt.y()), 0, 0, 0, Qt::NoModifier,
                           type == QEvent::TabletMove ? Qt::NoButton : Qt::LeftButton, held);
        QCoreApplication::sendEvent(canvas, &event);
    }
    // A mouse event as Qt or the system makes of the pen, naming the pen or a plain mouse.
    void mouseCopy(QEvent::Type type, QPoint at, const QPointingDevice* device)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(at), canvas->mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier, device);
        QCoreApplication::sendEvent(canvas, &event);
    }
    // Left to right along y = 100, the pressure rising from 0.1 to 1, leaning right.
    void ramp(const std::function<void(QPoint)>& before = [](QPoint) {})
    {
        for (int x = 20; x <= 180; x += 5) {
            const QEvent::Type type = x == 20 ? QEvent::TabletPress : x == 180 ? QEvent::TabletRelease : QEvent::TabletMove;
            before(QPoint(x, 100));
            tablet(type, QPoint(x, 100), 0.1 + 0.9 * (x - 20) / 160.0, QPointF(30, 0));
        }
    }
    std::vector<uint32_t> pixels() { return {image().pixels, image().pixels + size_t(image().width) * image().height}; }
    int paintedInColumn(int x)
    {
        int painted = 0;
        for (int y = 0; y < image().height; ++y) painted += (image().at(x, y) & 0xFFFFFF) != 0xFFFFFF;
        return painted;
    }

    QPointingDevice pen{QStringLiteral("test pen"), 4242, QInputDevice::DeviceType::Stylus,
                        QPointingDevice::PointerType::Pen, QInputDevice::Capability::Pressure, 1, 2};
    CanvasWindow* canvas = nullptr;
};

TEST_F(CanvasTablet, APressureRampWidensTheStrokeAlongIt)
{
    ramp();
    const int light = paintedInColumn(40), firm = paintedInColumn(160);
    EXPECT_GT(light, 0);
    EXPECT_GT(firm, 2 * light) << light << " pixels wide at x = 40, " << firm << " at x = 160";
    EXPECT_EQ(workspace().drawingValue(dv::pressure), 0xFFFF);
    EXPECT_EQ(workspace().drawingValue(dv::penAngle), 0x4000);
}

TEST_F(CanvasTablet, MouseCopiesOfThePenPaintNothingExtra)
{
    workspace().setRandomState(5);
    ramp();
    const std::vector<uint32_t> alone = pixels();
    ASSERT_TRUE(workspace().undo());

    // The copy of the press comes first and starts nothing: the tablet's press does.
    workspace().setRandomState(5);
    mouseCopy(QEvent::MouseButtonPress, QPoint(20, 100), &pen);
    EXPECT_FALSE(canvas->stroke().stroking());
    ramp([&](QPoint at) {
        mouseCopy(QEvent::MouseMove, at + QPoint(0, 30), &pen);
        mouseCopy(QEvent::MouseMove, at - QPoint(0, 30), QPointingDevice::primaryPointingDevice());
    });
    mouseCopy(QEvent::MouseButtonRelease, QPoint(180, 130), QPointingDevice::primaryPointingDevice());
    const std::vector<uint32_t> withCopies = pixels();
    EXPECT_EQ(std::count(withCopies.begin(), withCopies.end(), 0xFFFFFFu),
              std::count(alone.begin(), alone.end(), 0xFFFFFFu));
    EXPECT_TRUE(withCopies == alone);
    EXPECT_EQ(workspace().history().undoableCount(), 1u);
}

TEST_F(CanvasTablet, TheMouseLeavesPressureAndAngleAsTheTabletLeftThem)
{
    tablet(QEvent::TabletPress, QPoint(30, 30), 0.5, QPointF(-40, 0));
    tablet(QEvent::TabletMove, QPoint(60, 30), 0.25, QPointF(0, 0));  // no tilt: the angle stays
    tablet(QEvent::TabletRelease, QPoint(60, 30), 0.25, QPointF(0, 0));
    dragThrough(canvas, QPoint(20, 150), {QPoint(80, 150), QPoint(150, 160)});
    EXPECT_EQ(workspace().drawingValue(dv::pressure), pressureValue(0.25));
    EXPECT_EQ(workspace().drawingValue(dv::penAngle), 0xC000);
    EXPECT_EQ(workspace().history().undoableCount(), 2u);  // the mouse stroke painted
}

TEST_F(CanvasTablet, TheTesterOpensFromTheWindowMenuAndShowsAHoveringPen)
{
    auto* tester = qobject_cast<TabletTesterWindow*>(frame->toolWindow(kTabletTesterTool));
    ASSERT_TRUE(tester && !tester->isVisible());
    frame->actions().toggleTool[kTabletTesterTool]->trigger();
    EXPECT_TRUE(tester->isVisible());
    tablet(QEvent::TabletMove, QPoint(40, 40), 0.0, QPointF(40, 0), false);
    EXPECT_EQ(tester->pressureText(), QStringLiteral("0 (0%)"));
    EXPECT_EQ(tester->angleText(), QStringLiteral("16384 (90°)"));
    EXPECT_EQ(tester->deviceText(), QStringLiteral("test pen / ﾍﾟﾝ, 浮遊"));
    EXPECT_FALSE(workspace().history().canUndo());
}

}  // namespace
}  // namespace nelmora
