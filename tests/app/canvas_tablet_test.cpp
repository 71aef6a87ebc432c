// A tablet pen on the canvas, with synthetic tablet events: it strokes as the
// left button does and feeds pressure and pen angle; the mouse events made of
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
    EXPECT_EQ(pressureValue(0.0), 0);
    EXPECT_EQ(pressureValue(0.5), 0x8000);  // 32767.5 rounds up
    EXPECT_EQ(pressureValue(1.0), 0xFFFF);
    EXPECT_EQ(pressureValue(1.2), 0xFFFF);
    EXPECT_EQ(pressureValue(-0.1), 0);
    // Up the picture 0, right a quarter turn, toward the user half, left three quarters.
    EXPECT_EQ(leanAngle(0, -40), 0);
    EXPECT_EQ(leanAngle(40, 0), 0x4000);
    EXPECT_EQ(leanAngle(0, 40), 0x8000);
    EXPECT_EQ(leanAngle(-40, 0), 0xC000);
    EXPECT_EQ(leanAngle(30, 30), 0x6000);
    EXPECT_EQ(leanAngle(0, 0), std::nullopt);
}

// A pen on a tablet and the events it sends; its mouse events are the ones
// Qt or the system makes of it.
class Pen {
public:
    explicit Pen(QWidget* target) : target_(target) {}
    void tablet(QEvent::Type type, QPoint at, double pressure, QPointF tilt = {}, bool touching = true)
    {
        const Qt::MouseButtons held = type == QEvent::TabletRelease || !touching ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton button = type == QEvent::TabletMove ? Qt::NoButton : Qt::LeftButton;
        QTabletEvent event(type, &device_, QPointF(at), target_->mapToGlobal(QPointF(at)), pressure, float(tilt.x()),
                           float(tilt.y()), 0, 0, 0, Qt::NoModifier, button, held);
        QCoreApplication::sendEvent(target_, &event);
    }
    void mouse(QEvent::Type type, QPoint at, const QPointingDevice* device = nullptr)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(at), target_->mapToGlobal(QPointF(at)), button, held,
                          Qt::NoModifier, device ? device : &device_);
        QCoreApplication::sendEvent(target_, &event);
    }
    // A left-to-right stroke along y = 100 with the pressure rising from 0.1 to 1.
    void ramp(const std::function<void(QPoint)>& between = {})
    {
        for (int x = 20; x <= 180; x += 5) {
            const double pressure = 0.1 + 0.9 * (x - 20) / 160.0;
            const QEvent::Type type = x == 20 ? QEvent::TabletPress : x == 180 ? QEvent::TabletRelease : QEvent::TabletMove;
            if (between) between(QPoint(x, 100));
            tablet(type, QPoint(x, 100), pressure, QPointF(30, 0));
        }
    }

private:
    QWidget* target_;
    QPointingDevice device_{QStringLiteral("test pen"), 4242, QInputDevice::DeviceType::Stylus,
                            QPointingDevice::PointerType::Pen,
                            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure |
                                QInputDevice::Capability::XTilt | QInputDevice::Capability::YTilt,
                            1, 2};
};

class CanvasTablet : public MainFrameFixture {
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        canvas = frame->canvas();
        // Pen 0's thickness follows the pressure alone.
        workspace().setSlot(0, slot::thickness, {dv::pressure, 0x10000, dv::none, 0, 0, 0});
    }
    std::vector<uint32_t> pixels() const
    {
        const Image& image = frame->document().workspace().image();
        return {image.pixels, image.pixels + size_t(image.width) * size_t(image.height)};
    }
    int paintedInColumn(int x) const
    {
        const Image& image = frame->document().workspace().image();
        int painted = 0;
        for (int y = 0; y < image.height; ++y) painted += (image.at(x, y) & 0xFFFFFF) != 0xFFFFFF;
        return painted;
    }
    CanvasWindow* canvas = nullptr;
};

TEST_F(CanvasTablet, APressureRampWidensTheStrokeAlongIt)
{
    Pen pen(canvas);
    pen.ramp();
    const int light = paintedInColumn(40), firm = paintedInColumn(160);
    EXPECT_GT(light, 0);
    EXPECT_GT(firm, 2 * light) << light << " pixels wide at x = 40, " << firm << " at x = 160";
    EXPECT_EQ(workspace().drawingValue(dv::pressure), 0xFFFF);
    EXPECT_EQ(workspace().drawingValue(dv::penAngle), 0x4000);
    EXPECT_FALSE(canvas->stroke().stroking());
    EXPECT_TRUE(workspace().history().canUndo());
}

TEST_F(CanvasTablet, MouseEventsMadeOfThePenPaintNothingExtra)
{
    Pen pen(canvas);
    workspace().setRandomState(5);
    pen.ramp();
    const std::vector<uint32_t> alone = pixels();
    ASSERT_TRUE(workspace().undo());

    // The made-up press comes first and starts nothing: the tablet's does.
    workspace().setRandomState(5);
    pen.mouse(QEvent::MouseButtonPress, QPoint(20, 100));
    EXPECT_FALSE(canvas->stroke().stroking());
    pen.ramp([&](QPoint at) {
        // Beside the pen's path, by the pen's device and by a plain mouse
        // device, as systems differ in which they name.
        pen.mouse(QEvent::MouseMove, at + QPoint(0, 30));
        pen.mouse(QEvent::MouseMove, at + QPoint(0, -30), QPointingDevice::primaryPointingDevice());
    });
    pen.mouse(QEvent::MouseButtonRelease, QPoint(180, 130), QPointingDevice::primaryPointingDevice());
    const std::vector<uint32_t> withCopies = pixels();
    EXPECT_EQ(std::count(withCopies.begin(), withCopies.end(), 0xFFFFFFu),
              std::count(alone.begin(), alone.end(), 0xFFFFFFu));
    EXPECT_TRUE(withCopies == alone);
    EXPECT_EQ(workspace().history().undoableCount(), 1u);
}

TEST_F(CanvasTablet, TheMouseLeavesPressureAndAngleAsTheTabletLeftThem)
{
    Pen pen(canvas);
    pen.tablet(QEvent::TabletPress, QPoint(30, 30), 0.5, QPointF(-40, 0));
    pen.tablet(QEvent::TabletMove, QPoint(60, 30), 0.25, QPointF(0, 0));  // no tilt: the angle stays
    EXPECT_EQ(workspace().drawingValue(dv::pressure), pressureValue(0.25));
    EXPECT_EQ(workspace().drawingValue(dv::penAngle), 0xC000);
    pen.tablet(QEvent::TabletRelease, QPoint(60, 30), 0.0, QPointF(0, -40));
    EXPECT_EQ(workspace().drawingValue(dv::pressure), 0);
    EXPECT_EQ(workspace().drawingValue(dv::penAngle), 0);

    workspace().setDrawingValue(dv::pressure, 0x1234);
    dragThrough(canvas, QPoint(20, 150), {QPoint(80, 150), QPoint(150, 160)});
    EXPECT_EQ(workspace().drawingValue(dv::pressure), 0x1234);
    EXPECT_EQ(workspace().drawingValue(dv::penAngle), 0);
    EXPECT_EQ(workspace().history().undoableCount(), 2u);  // the mouse stroke painted
}

TEST_F(CanvasTablet, TheTesterOpensFromTheWindowMenuAndShowsTheLastEvent)
{
    auto* tester = qobject_cast<TabletTesterWindow*>(frame->toolWindow(kTabletTesterTool));
    ASSERT_TRUE(tester);
    EXPECT_FALSE(tester->isVisible());
    frame->actions().toggleTool[kTabletTesterTool]->trigger();
    EXPECT_TRUE(tester->isVisible());
    EXPECT_TRUE(frame->actions().toggleTool[kTabletTesterTool]->isChecked());

    // A hovering pen reaches it too, and paints nothing.
    Pen(canvas).tablet(QEvent::TabletMove, QPoint(40, 40), 0.0, QPointF(40, 0), false);
    EXPECT_EQ(tester->pressureText(), QStringLiteral("0 (0%)"));
    EXPECT_EQ(tester->angleText(), QStringLiteral("16384 (90°)"));
    EXPECT_EQ(tester->deviceText(), QStringLiteral("test pen / ﾍﾟﾝ, 浮遊"));
    EXPECT_FALSE(workspace().history().canUndo());
    EXPECT_EQ(workspace().drawingValue(dv::penAngle), 0);
}

}  // namespace
}  // namespace nelmora
