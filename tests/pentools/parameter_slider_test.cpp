// The slider control as a widget: reading and writing through its value cell,
// notifying its owner, and sharing the strip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include "pentools/parameter_slider.h"
#include "pentools/slider_click.h"
#include "pointer_input.h"
#include "pentools/slider_row.h"

namespace nelmora {
namespace {

constexpr SliderRow kRow{"EX 1 ", 0x008070, 0x80A0F0, "_", 0, 0x10000, 0x20000, 0x10000, 100, 655, 270, 14, 0, 15};

// Counts its paints, standing in for an owner that repaints after a change.
class Owner : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

class ParameterSliderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner.resize(300, 40);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    }

    ParameterSlider* makeSlider()
    {
        return createParameterSlider(&owner, QPoint(10, 10), QSize(kRow.width, kRow.height), makeSliderRecord(kRow),
                                     {[this] { return *cell; }, [this](int32_t v) {
                                          *cell = v;
                                          ++writes;
                                      }});
    }

    // The color of client pixel (x, y), inside the 1-pixel border.
    static uint32_t clientPixel(ParameterSlider* slider, int x, int y)
    {
        return slider->grab().toImage().pixel(x + 1, y + 1) & 0xFFFFFF;
    }

    Owner owner;
    int32_t first = 0;
    int32_t second = 0;
    int32_t* cell = &first;
    int writes = 0;
};

TEST_F(ParameterSliderTest, ClicksWriteThroughTheBinding)
{
    ParameterSlider* slider = makeSlider();
    EXPECT_EQ(slider->clientWidth(), 268);
    EXPECT_EQ(slider->clientHeight(), 12);

    QTest::mouseClick(slider, Qt::RightButton, {}, QPoint(100, 6));
    EXPECT_EQ(first, 0x10000);
    // Bar length 178: client x 89 is 0x20000 x 89 / 178.
    first = 0;
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(1 + 89, 6));
    EXPECT_EQ(first, 0x10000);
    // ">" at the right end, in client x W - 9 = 259.
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(1 + 259, 6));
    EXPECT_EQ(first, 0x10000 + 655);
    // The border is not part of the control.
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(0, 6));
    EXPECT_EQ(first, 0x10000 + 655);

    // The control holds no value: it reads and writes wherever its binding says.
    cell = &second;
    QTest::mouseClick(slider, Qt::RightButton, {}, QPoint(100, 6));
    EXPECT_EQ(second, 0x10000);
    EXPECT_EQ(first, 0x10000 + 655);
}

TEST_F(ParameterSliderTest, EveryClickOnTheClientWritesOnceAndRepaintsTheSlider)
{
    ParameterSlider* slider = makeSlider();
    QApplication::processEvents();
    first = 0x8000;
    ASSERT_EQ(clientPixel(slider, 44, 0), 0u);
    QTest::mouseClick(slider, Qt::RightButton, {}, QPoint(100, 6));
    QApplication::processEvents();
    EXPECT_EQ(writes, 1);
    // The value line moved from 0x8000 x 178 / 0x20000 = 44 to the default's 89.
    EXPECT_NE(clientPixel(slider, 44, 0), 0u);
    EXPECT_EQ(clientPixel(slider, 89, 0), 0u);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(0, 6));  // the border
    EXPECT_EQ(writes, 1);
}

TEST_F(ParameterSliderTest, ABarDragFollowsThePointerAndEndsAsAPressThere)
{
    ParameterSlider* slider = makeSlider();
    const SliderRecord& record = slider->record();
    for (int endX : {0, 40, 120, 178}) {
        first = 0x8000;
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(1 + endX, 6));
        const int32_t pressed = first;
        first = 0x8000;
        dragThrough(slider, QPoint(1 + 100, 6), {QPoint(1 + 150, 6), QPoint(1 + endX, 20)});
        EXPECT_EQ(first, pressed) << endX;
    }
    // Past either end of the bar, even over the number and the buttons, the drag holds its end.
    dragThrough(slider, QPoint(1 + 10, 6), {QPoint(1 + 264, 6)});
    EXPECT_EQ(first, record.max);
    dragThrough(slider, QPoint(1 + 10, 6), {QPoint(-300, 6)});
    EXPECT_EQ(first, record.min);

    // A press on the number starts no drag; a move without the button does nothing.
    first = 0x8000;
    dragThrough(slider, QPoint(1 + 200, 6), {QPoint(1 + 20, 6)});
    EXPECT_EQ(first, 0x8000);
    QTest::mouseMove(slider, QPoint(1 + 30, 6));
    EXPECT_EQ(first, 0x8000);
}

TEST_F(ParameterSliderTest, WheelStepsAndClamps)
{
    ParameterSlider* slider = makeSlider();
    first = 0x10000;
    turnWheel(slider, 1);
    EXPECT_EQ(first, 0x10000 + 655);
    turnWheel(slider, -2);
    EXPECT_EQ(first, 0x10000 - 655);
    turnWheel(slider, 3, Qt::ShiftModifier);
    EXPECT_EQ(first, 0x10000 + 29 * 655);
    writes = 0;
    turnWheel(slider, 1000);
    EXPECT_EQ(first, 0x20000);
    turnWheel(slider, 1);  // already at the end: nothing to write
    EXPECT_EQ(writes, 1);
    turnWheel(slider, -1000, Qt::ShiftModifier);
    EXPECT_EQ(first, 0);
}

TEST_F(ParameterSliderTest, AHeldStepButtonRepeats)
{
    ParameterSlider* slider = makeSlider();
    first = 0x100;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(1 + 259, 6));
    EXPECT_EQ(first, 0x100 + 655);  // the press itself steps at once
    EXPECT_EQ(slider->repeatingSteps(), 1);
    // Held long enough, the button keeps stepping (no pace is asserted).
    for (int waited = 0; first < 0x100 + 3 * 655 && waited < 10000; waited += 20) QTest::qWait(20);
    EXPECT_GE(first, 0x100 + 3 * 655);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(1 + 259, 6));
    EXPECT_EQ(slider->repeatingSteps(), 0);
    const int32_t released = first;
    QTest::qWait(kStepRepeatDelayMs + 2 * kStepRepeatIntervalMs);
    EXPECT_EQ(first, released);

    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(1 + 250, 6));
    EXPECT_EQ(slider->repeatingSteps(), -1);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(1 + 250, 6));
    EXPECT_EQ(first, released - 655);
}

TEST_F(ParameterSliderTest, StripOutlivesTheFirstSliderToGo)
{
    auto* gone = makeSlider();
    ParameterSlider* kept = makeSlider();
    delete gone;
    first = 0x8000;
    EXPECT_EQ(clientPixel(kept, 44, 0), 0u);
    EXPECT_NE(clientPixel(kept, 43, 0), 0u);
    delete kept;
    // A slider made after all others are gone gets a new strip.
    ParameterSlider* fresh = makeSlider();
    EXPECT_EQ(clientPixel(fresh, 44, 0), 0u);
}

}  // namespace
}  // namespace nelmora
