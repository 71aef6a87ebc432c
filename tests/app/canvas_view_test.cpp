// The canvas in its scroll area: the start-up view unchanged, scrolling a
// large picture, the magnifier's menu ticks, and strokes that paint the same
// picture pixels at every magnification.
#include <gtest/gtest.h>

#include <QAction>
#include <QScrollBar>
#include <QTest>

#include "app/canvas_view.h"
#include "app/canvas_window.h"
#include "app/view_scale.h"
#include "main_frame_fixture.h"

namespace nelmora {
namespace {

class CanvasViewTest : public MainFrameFixture {
protected:
    // A drag over picture pixels, sent as mouse events at the canvas's current magnification.
    void dragOverPicture(std::initializer_list<QPoint> points)
    {
        CanvasWindow* canvas = frame->canvas();
        const int percent = canvas->zoom();
        // The first view pixel that shows picture pixel p.
        auto at = [percent](QPoint p) { return QPoint(int(viewStart(p.x(), percent)), int(viewStart(p.y(), percent))); };
        auto it = points.begin();
        QTest::mousePress(canvas, Qt::LeftButton, {}, at(*it));
        for (++it; it != points.end(); ++it) QTest::mouseMove(canvas, at(*it));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, at(*(points.end() - 1)));
    }
};

TEST_F(CanvasViewTest, AFittingPictureAtOneHundredPercentLooksAsItAlwaysHas)
{
    QCoreApplication::processEvents();
    const QImage client = frame->centralWidget()->grab().toImage();
    EXPECT_EQ(frame->canvas()->geometry(), QRect(0, 0, 200, 200));
    EXPECT_FALSE(frame->view()->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(frame->view()->verticalScrollBar()->isVisible());
    for (QPoint p : {QPoint(0, 0), QPoint(199, 199)}) EXPECT_EQ(client.pixel(p) & 0xFFFFFF, 0xFFFFFFu);
    for (QPoint p : {QPoint(200, 0), QPoint(0, 200), QPoint(client.width() - 1, client.height() - 1)})
        EXPECT_EQ(client.pixel(p) & 0xFFFFFF, 0x808080u) << p.x() << "," << p.y();
}

TEST_F(CanvasViewTest, ALargePictureScrollsToItsFarCorner)
{
    workspace().replaceImage(ImagePtr(createImage(3000, 2000, 0, 0, 0x00FF00)));
    QCoreApplication::processEvents();
    CanvasView* view = frame->view();
    QScrollBar* h = view->horizontalScrollBar();
    QScrollBar* v = view->verticalScrollBar();
    EXPECT_EQ(h->maximum(), 3000 - view->viewport()->width());
    EXPECT_EQ(v->maximum(), 2000 - view->viewport()->height());
    h->setValue(h->maximum());
    v->setValue(v->maximum());
    // The picture's bottom-right pixel is on screen at the viewport's bottom-right.
    dragOverPicture({{2990, 1990}, {2999, 1999}});
    EXPECT_NE(image().at(2995, 1995), 0x00FF00u);
    EXPECT_EQ(frame->canvas()->picturePixelAt(frame->canvas()->mapFrom(view->viewport(),
                                                                         QPointF(view->viewport()->width() - 1,
                                                                                 view->viewport()->height() - 1))),
              QPoint(2999, 1999));
}

// A fresh program each time, so every run starts from the same random state.
std::vector<uint32_t> dragAt(int percent)
{
    FakeDialogs fake;
    setDialogs(&fake);
    MainFrame frame;
    frame.show();
    frame.view()->zoomTo(percent);
    CanvasWindow* canvas = frame.canvas();
    // Picture pixels that every level can address (multiples of 4), also outside the picture.
    const QPoint path[] = {{20, 32}, {60, 36}, {120, 88}, {148, 180}, {-12, 208}};
    auto at = [percent](QPoint p) { return QPoint(int(viewStart(p.x(), percent)), int(viewStart(p.y(), percent))); };
    QTest::mousePress(canvas, Qt::LeftButton, {}, at(path[0]));
    for (QPoint p : path) QTest::mouseMove(canvas, at(p));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, at(path[4]));
    const Image& image = frame.document().workspace().image();
    std::vector<uint32_t> pixels(image.pixels, image.pixels + size_t(image.width) * image.height);
    setDialogs(nullptr);
    return pixels;
}

TEST(CanvasViewDrag, TheSameDragPaintsTheSamePictureAtEveryMagnification)
{
    const std::vector<uint32_t> atHundred = dragAt(100);
    ASSERT_NE(std::count(atHundred.begin(), atHundred.end(), 0xFFFFFFu), long(atHundred.size()));
    for (int percent : {25, 50, 200, 300, 1600}) EXPECT_TRUE(dragAt(percent) == atHundred) << percent << " %";
}

TEST_F(CanvasViewTest, MagnifierItemsTickTheCurrentLevel)
{
    const auto& zoom = frame->actions().zoom;
    auto ticked = [&] {
        std::vector<int> on;
        for (size_t k = 0; k < zoom.size(); ++k)
            if (zoom[k]->isChecked()) on.push_back(kZoomLevels[k]);
        return on;
    };
    EXPECT_EQ(ticked(), std::vector<int>{100});
    zoom[5]->trigger();  // 400 %
    EXPECT_EQ(frame->canvas()->zoom(), 400);
    EXPECT_EQ(frame->canvas()->size(), QSize(800, 800));
    EXPECT_EQ(ticked(), std::vector<int>{400});
    frame->view()->zoomOut();
    EXPECT_EQ(ticked(), std::vector<int>{300});
    zoom[0]->trigger();
    EXPECT_EQ(frame->canvas()->size(), QSize(50, 50));
    EXPECT_EQ(ticked(), std::vector<int>{25});
}

}  // namespace
}  // namespace nelmora
