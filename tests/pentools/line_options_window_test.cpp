// The "LineOption" window: its rows, what they edit, and the row-count menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QTest>

#include <memory>

#include "app/document.h"
#include "app/tool_windows.h"
#include "pentools/line_options_window.h"
#include "pentools/parameter_slider.h"
#include "pentools/slider_picture.h"

namespace nelmora {
namespace {

enum Row { kThickness, kStrength, kInterval, kAngle, kType, kThickness2, kStrength2, kAngle2, kType2Label,
           kEx1Label, kEx2Label, kEx3Label };

class LineOptionWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.reset(dynamic_cast<LineOptionWindow*>(createLineOptionWindow(document)));
        ASSERT_TRUE(window);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    int32_t value(int index) const { return workspace.drawingValue(index); }
    std::string shown(int row) const
    {
        const ParameterSlider* s = window->slider(row);
        return sliderNumberText(s->record(), s->value());
    }
    void command(const char* text)
    {
        for (QAction* action : window->menuBar()->actions())
            if (action->text() == QLatin1String(text)) return action->trigger();
        FAIL() << "no command " << text;
    }
    bool rowVisible(int row) const { return !window->slider(row)->visibleRegion().isEmpty(); }

    Document document{std::make_unique<Workspace>()};
    Workspace& workspace = document.workspace();
    std::unique_ptr<LineOptionWindow> window;
};

TEST_F(LineOptionWindowTest, LayoutAndStart)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("LineOption"));
    EXPECT_EQ(window->width(), 290);
    EXPECT_EQ(window->visibleHeight(), 58);
    const int tops[kLineOptionCount] = {10, 25, 40, 59, 74, 100, 115, 130, 145, 169, 184, 199, 218, 233, 248};
    for (int i = 0; i < kLineOptionCount; ++i) {
        EXPECT_EQ(window->slider(i)->geometry(), QRect(10, tops[i], 270, 14)) << "row " << i;
        // Each row shows and edits its own drawing value.
        const int index = lineOptionValues[size_t(i)];
        workspace.setDrawingValue(index, 0x8000 + i);
        EXPECT_EQ(window->slider(i)->value(), 0x8000 + i) << "row " << i;
    }
    resetDrawingValues(workspace.strokeValues());
    EXPECT_EQ(shown(kThickness), "  100% ");
    EXPECT_EQ(shown(kInterval), "   15% ");
}

TEST_F(LineOptionWindowTest, RightClickRestoresRowDefaults)
{
    ParameterSlider* interval = window->slider(kInterval);
    workspace.setDrawingValue(dv::interval, 0x13880);
    QTest::mouseClick(interval, Qt::RightButton, {}, QPoint(120, 7));
    EXPECT_EQ(value(dv::interval), 10000);
    EXPECT_EQ(shown(kInterval), "   15% ");

    // thickness2 starts at 0, below the row's minimum 1: an empty bar.
    command("4");
    ParameterSlider* thickness2 = window->slider(kThickness2);
    const auto pixel = [&](int x) { return thickness2->grab().toImage().pixel(1 + x, 1) & 0xFFFFFF; };
    EXPECT_EQ(value(dv::thickness2), 0);
    EXPECT_EQ(pixel(0), 0u);
    EXPECT_NE(pixel(88), 0u);
    QTest::mouseClick(thickness2, Qt::RightButton, {}, QPoint(120, 7));
    EXPECT_EQ(value(dv::thickness2), 0x10000);
    // 0xFFFF x 178 / 0x1FFFF = 88: the value line on the default mark.
    EXPECT_EQ(pixel(88), 0u);
    EXPECT_NE(pixel(0), 0u);
}

TEST_F(LineOptionWindowTest, AngleRowsShowDegrees)
{
    workspace.setDrawingValue(dv::angle1, 0x8000);
    EXPECT_EQ(shown(kAngle), "  180\xDF ");
    QTest::mouseClick(window->slider(kAngle), Qt::LeftButton, {}, QPoint(1 + 259, 7));
    EXPECT_EQ(value(dv::angle1), 0x8000 + 182);
}

TEST_F(LineOptionWindowTest, CrossedRowsEditTheirEntries)
{
    command("4");
    // A press at client x 89 of 178 sets half the range 0..0x20000.
    QTest::mouseClick(window->slider(kEx3Label), Qt::LeftButton, {}, QPoint(1 + 89, 7));
    EXPECT_EQ(value(27), 0x10000);
    EXPECT_EQ(value(dv::ex3), 0);
    QTest::mouseClick(window->slider(kType2Label), Qt::LeftButton, {}, QPoint(1 + 89, 7));
    EXPECT_EQ(value(16), 0x8000);
    EXPECT_EQ(value(27), 0x10000);
}

TEST_F(LineOptionWindowTest, MenuChoosesVisibleRows)
{
    const auto visibleRows = [&] {
        int n = 0;
        while (n < kLineOptionCount && rowVisible(n)) ++n;
        for (int i = n; i < kLineOptionCount; ++i) EXPECT_FALSE(rowVisible(i)) << "row " << i;
        return n;
    };
    EXPECT_EQ(visibleRows(), 3);
    command("2");
    EXPECT_EQ(window->visibleHeight(), 100);
    EXPECT_EQ(window->width(), 290);
    EXPECT_EQ(visibleRows(), 5);
    command("3");
    EXPECT_EQ(window->visibleHeight(), 167);
    EXPECT_EQ(visibleRows(), 9);
    command("4");
    EXPECT_EQ(window->visibleHeight(), 280);
    EXPECT_EQ(visibleRows(), 15);
    command("1");
    EXPECT_EQ(window->visibleHeight(), 58);
    EXPECT_EQ(visibleRows(), 3);
}

}  // namespace
}  // namespace nelmora
