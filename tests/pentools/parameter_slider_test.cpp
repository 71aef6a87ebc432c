// The slider control as a widget: reading and writing through its value cell,
// notifying its owner, and sharing the strip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include "pentools/parameter_slider.h"
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
