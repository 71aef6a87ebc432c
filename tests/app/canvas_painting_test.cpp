// The canvas with the real engine: a drag paints, and what each mouse event
// changed is put on screen at the next screen frame.
#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QRegion>
#include <QTest>
#include <QTimer>
#include <vector>

#include "app/canvas_window.h"
#include "app/document.h"
#include "app/main_frame.h"
#include "fake_dialogs.h"

namespace nelmora {
namespace {

// Collects the rectangles the canvas repaints.
class PaintedArea : public QObject {
public:
    QRegion region;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->rect();
        return false;
    }
};

QRect changedPixels(const std::vector<uint32_t>& before, const Image& image)
{
    QRect box;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (before[size_t(y * image.width + x)] != image.at(x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

class CanvasPainting : public ::testing::Test {
protected:
    void SetUp() override
    {
        setDialogs(&fake);
        frame.show();
        QCoreApplication::processEvents();
        canvas = frame.canvas();
        canvas->installEventFilter(&painted);
    }
    void TearDown() override { setDialogs(nullptr); }

    void moveTo(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), canvas->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &move);
    }
    void expectShownIsImage()
    {
        const Image& image = frame.document().workspace().image();
        const QImage shown = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < image.height; y += 3)
            for (int x = 0; x < image.width; x += 3)
                ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, image.at(x, y) & 0xFFFFFF) << x << "," << y;
    }
    std::vector<uint32_t> snapshot()
    {
        const Image& image = frame.document().workspace().image();
        return {image.pixels, image.pixels + size_t(image.width) * image.height};
    }

    FakeDialogs fake;
    MainFrame frame;
    CanvasWindow* canvas = nullptr;
    PaintedArea painted;
};

TEST_F(CanvasPainting, DragPaintsAlongThePathAndShowsEachChangeByTheNextFrame)
{
    const Image& image = frame.document().workspace().image();
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(20, 100));
    // Dabs fall about 12.2 pixels apart, so a 10-pixel move may place none.
    int paintingMoves = 0;
    for (int x = 30; x <= 180; x += 10) {
        const std::vector<uint32_t> before = snapshot();
        painted.region = QRegion();
        moveTo({x, 100});
        QTest::qWait(25);
        QCoreApplication::processEvents();
        const QRect changed = changedPixels(before, image);
        paintingMoves += !changed.isEmpty();
        if (!changed.isEmpty()) {
            EXPECT_TRUE(painted.region.contains(changed)) << "move to x = " << x;
        }
        EXPECT_TRUE(isEmpty(image.update)) << "the canvas clears what it has shown";
    }
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(180, 100));
    EXPECT_GE(paintingMoves, 10);

    // Pen 0 paints color 1 (hue 0, saturation 40000, brightness 0xFFFF) along y = 100,
    // a disc about 60 pixels across; far above the path the image stays white.
    EXPECT_NE(image.at(100, 100) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_GT((image.at(100, 100) >> 16) & 0xFF, image.at(100, 100) & 0xFF) << "reddish";
    EXPECT_EQ(image.at(100, 10), 0xFFFFFFu);
    EXPECT_EQ(image.at(5, 190), 0xFFFFFFu);

    expectShownIsImage();
}

// A frame due while the engine lets Qt run, before its first dab is painted:
// copied then, that dab's box would reach the screen unpainted and stay so.
TEST_F(CanvasPainting, AFrameDueMidMoveWaitsForThePaintedPicture)
{
    canvas->work().setBusyThreshold(0);  // Qt runs at the engine's first report
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(70, 100));
    QTest::qWait(20);  // a frame has passed: a showing would run at once
    bool midMove = false;
    QTimer::singleShot(0, canvas, [&] {
        midMove = canvas->work().running();
        canvas->showChanges();
    });
    moveTo({180, 100});
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(180, 100));
    QTest::qWait(25);
    QCoreApplication::processEvents();
    ASSERT_TRUE(midMove);
    expectShownIsImage();
}

}  // namespace
}  // namespace nelmora
