// The color creator window offscreen: layout, clicks through Qt, and that
// outside changes repaint it while the field renders only when needed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "app/document.h"
#include "app/tool_windows.h"
#include "color/color_box_control.h"
#include "color/color_creator_window.h"
#include "color/color_slider_control.h"
#include "paint_counter.h"
#include "platform/invalidate.h"

namespace nelmora {
namespace {

class ColorCreatorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        widget.reset(createColorCreatorWindow(document));
        window = dynamic_cast<ColorCreatorWindow*>(widget.get());
        ASSERT_NE(window, nullptr);
        window->installEventFilter(&counter);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        settle();
        sliders = window->findChildren<ColorSliderControl*>();
        box = window->findChild<ColorBoxControl*>();
        ASSERT_EQ(sliders.size(), 3);
        ASSERT_NE(box, nullptr);
    }
    void TearDown() override
    {
        widget.reset();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    static uint32_t pixel(QWidget* w, int x, int y) { return w->grab().toImage().pixel(x, y) & 0xFFFFFF; }

    Document document{std::make_unique<Workspace>()};
    Workspace& workspace = document.workspace();
    std::unique_ptr<QWidget> widget;
    ColorCreatorWindow* window = nullptr;
    QList<ColorSliderControl*> sliders;
    ColorBoxControl* box = nullptr;
    PaintCounter counter;
};

TEST_F(ColorCreatorWindowTest, LayoutOfTheWindowAndItsControls)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Color"));
    EXPECT_EQ(window->size(), QSize(200, 290));
    EXPECT_EQ(box->geometry(), QRect(10, 10, 40, 60));
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(sliders[n]->geometry(), QRect(60, 10 + 22 * n, 130, 20));
        EXPECT_EQ(sliders[n]->contentsRect().size(), QSize(128, 18));
    }
    EXPECT_EQ(editedHueIndex(window->state()), dv::hue1);
    EXPECT_EQ(window->fieldRenderCount(), 1);
}

TEST_F(ColorCreatorWindowTest, FreshColorBoxShowsTwoEqualFramedRectangles)
{
    const QImage image = box->grab().toImage();
    auto at = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(at(5, 5), 0xFF6363u);    // color 1
    EXPECT_EQ(at(35, 55), 0xFF6363u);  // color 2
    EXPECT_EQ(at(0, 0), 0u);
    EXPECT_EQ(at(29, 39), 0u);  // color 1's frame, drawn over color 2
    EXPECT_EQ(at(39, 59), 0u);
    EXPECT_EQ(at(30, 40), 0xFF6363u);
    EXPECT_EQ(at(5, 50), 0xFFFFFFu);
}

TEST_F(ColorCreatorWindowTest, FieldClicksEditAndRepaint)
{
    const int paints = counter.paints;
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(150, 190));
    settle();
    EXPECT_EQ(workspace.drawingValue(dv::hue1), 16384);
    EXPECT_EQ(workspace.drawingValue(dv::saturation1), 32768);
    EXPECT_GT(counter.paints, paints);
    EXPECT_EQ(window->fieldRenderCount(), 2);

    // A click in the free top area changes nothing but renders again.
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(55, 80));
    settle();
    EXPECT_EQ(workspace.drawingValue(dv::hue1), 16384);
    EXPECT_EQ(window->fieldRenderCount(), 3);

    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(100, 190));
    settle();
    EXPECT_EQ(window->state().fieldMode, kHueBrightnessWheel);
    EXPECT_EQ(window->fieldRenderCount(), 4);
}

TEST_F(ColorCreatorWindowTest, PickIntoColorOneWhileColorTwoIsEditedRepaintsWithoutRendering)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(35, 55));
    settle();
    ASSERT_EQ(window->state().secondColorActive, 1);
    // Color 2 equals color 1 at start, so the field is still valid.
    EXPECT_EQ(window->fieldRenderCount(), 1);

    // The canvas's right-click pick: a blue pixel into color 1. The window
    // follows the document's note; nobody repaints it by hand.
    workspace.strokeImage().at(3, 4) = 0x0000FF;
    const int paints = counter.paints;
    ASSERT_TRUE(workspace.pickColor(3, 4));
    settle();
    EXPECT_GT(counter.paints, paints);
    EXPECT_EQ(window->fieldRenderCount(), 1);
    EXPECT_EQ(pixel(box, 5, 5), 0x0000FEu);  // color 1 behind, now blue
    EXPECT_EQ(pixel(box, 35, 55), 0xFF6363u);

    invalidateWithChildren(window);
    settle();
    EXPECT_EQ(window->fieldRenderCount(), 1);

    // Back to color 1: the cached color no longer matches.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
    settle();
    EXPECT_EQ(window->state().secondColorActive, 0);
    EXPECT_EQ(window->fieldRenderCount(), 2);
}

TEST_F(ColorCreatorWindowTest, PickWhileColorOneIsEditedRendersAndMovesTheSliders)
{
    workspace.strokeImage().at(0, 0) = 0x0000FF;
    ASSERT_TRUE(workspace.pickColor(0, 0));
    settle();
    EXPECT_EQ(window->fieldRenderCount(), 2);
    // Hue 0xAAAA: the hue slider's value line at 0xAAAA * 128 / 65536 = 85, plus the border.
    EXPECT_EQ(pixel(sliders[0], 86, 3), 0u);
}

TEST_F(ColorCreatorWindowTest, SliderClicksAndTheSharedRgbMode)
{
    QTest::mouseClick(sliders[0], Qt::LeftButton, {}, QPoint(1 + 127, 10));
    settle();
    EXPECT_EQ(workspace.drawingValue(dv::hue1), 65024);
    EXPECT_EQ(window->fieldRenderCount(), 2);

    // The border lies outside the client: no change.
    QTest::mouseClick(sliders[0], Qt::LeftButton, {}, QPoint(0, 10));
    settle();
    EXPECT_EQ(workspace.drawingValue(dv::hue1), 65024);

    // Column 0 of the lower band: the hue ramp starts red, the red ramp black.
    QTest::mouseClick(sliders[1], Qt::RightButton, {}, QPoint(10, 10));
    settle();
    EXPECT_EQ(window->state().rgbMode, kRgbMode);
    EXPECT_EQ(pixel(sliders[0], 1, 17), 0u);
    QTest::mouseClick(sliders[2], Qt::RightButton, {}, QPoint(10, 10));
    settle();
    EXPECT_EQ(window->state().rgbMode, kHsbMode);
    EXPECT_EQ(pixel(sliders[0], 1, 17), 0xFE0000u);
}

}  // namespace
}  // namespace nelmora
