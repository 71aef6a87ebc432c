// The "PenSet" window: its grid and switches, the defaults they restore, what
// they show, and the switch between the two pens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QTest>

#include <climits>
#include <memory>
#include <vector>

#include "app/document.h"
#include "app/tool_windows.h"
#include "engine/stroke_engine.h"
#include "pentools/parameter_slider.h"
#include "pentools/pen_set_window.h"
#include "pentools/slider_picture.h"
#include "text/shift_jis.h"

namespace nelmora {
namespace {

enum Column { kSourceA, kScaleA, kSourceB, kScaleB, kBase, kJitter };
enum Switch { kDrawMode, kLineColor, kEndFlag };

// Every value the pen set can write in one pen, for before/after comparisons.
std::vector<int32_t> wiring(const Pen& pen)
{
    std::vector<int32_t> values;
    for (int i = 0; i < kSlotCount; ++i) {
        const PenParam& p = pen.params[i];
        values.insert(values.end(), {p.sourceA, p.scaleA, p.sourceB, p.scaleB, p.base, p.jitter});
    }
    values.insert(values.end(), {pen.drawMode, pen.lineColor, pen.endFlag});
    return values;
}

// Records the value a slider shows whenever it is painted.
class ValueAtPaint : public QObject {
public:
    explicit ValueAtPaint(ParameterSlider* slider) : slider_(slider) { slider->installEventFilter(this); }
    std::vector<int32_t> values;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) values.push_back(slider_->value());
        return false;
    }

private:
    ParameterSlider* slider_;
};

// " " and the name in 6 Shift-JIS bytes: what a slider with a name list shows.
std::string name(const char* utf8) { return " " + utf8ToShiftJis(utf8); }

class PenSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QObject::connect(&document, &Document::editedPenChanged, [this](int pen) { selectedPens.push_back(pen); });
        window.reset(dynamic_cast<PenSetWindow*>(createPenSetWindow(document)));
        ASSERT_TRUE(window);
        ASSERT_TRUE(window->isHidden());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::processEvents();
    }
    // Raw access, as a pen file could leave the fields.
    Pen& pen(int n) { return workspace.strokePen(n); }
    ParameterSlider* grid(Column column, int slotIndex) const { return window->gridSlider(column, slotIndex); }
    static std::string shown(const ParameterSlider* slider)
    {
        return sliderNumberText(slider->record(), slider->value());
    }
    // A press at client column x (inside the 1-pixel border).
    static void press(ParameterSlider* slider, Qt::MouseButton button, int x = 20)
    {
        QTest::mouseClick(slider, button, {}, QPoint(1 + x, 7));
    }
    static void pressRight(ParameterSlider* slider) { press(slider, Qt::RightButton); }
    // The step buttons: client x from W - 19 ("<") and from W - 9 (">").
    static void stepDown(ParameterSlider* s) { press(s, Qt::LeftButton, s->clientWidth() - 15); }
    static void stepUp(ParameterSlider* s) { press(s, Qt::LeftButton, s->clientWidth() - 5); }
    // Lets the window and its sliders repaint as they would after a click.
    static void settle() { QApplication::processEvents(); }

    Document document{std::make_unique<Workspace>()};
    Workspace& workspace = document.workspace();
    std::vector<int> selectedPens;
    std::unique_ptr<PenSetWindow> window;
};

TEST_F(PenSetTest, LayoutShowsPenZero)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("PenSet"));
    EXPECT_EQ(window->size(), QSize(650, 350));
    EXPECT_EQ(window->penNumberSlider()->geometry(), QRect(10, 10, 130, 14));
    EXPECT_EQ(window->switchSlider(kDrawMode)->geometry(), QRect(200, 10, 105, 14));
    EXPECT_EQ(window->switchSlider(kEndFlag)->geometry(), QRect(415, 10, 100, 14));
    EXPECT_EQ(grid(kSourceA, 0)->geometry(), QRect(10, 40, 95, 14));
    EXPECT_EQ(grid(kScaleA, 0)->geometry(), QRect(105, 40, 100, 14));
    EXPECT_EQ(grid(kJitter, 19)->geometry(), QRect(520, 325, 100, 14));
    EXPECT_FALSE(window->penNumberSlider()->record().compact);
    EXPECT_TRUE(grid(kSourceB, 7)->record().compact);

    // Default pen 0: color 2 follows color 1, live, one color, no end.
    EXPECT_EQ(shown(window->penNumberSlider()), "    0  ");
    EXPECT_EQ(shown(grid(kSourceA, 3)), name("色相１"));
    EXPECT_EQ(shown(grid(kSourceA, 15)), name("EX  ５"));
    EXPECT_EQ(shown(grid(kSourceB, 8)), name("----- "));
    EXPECT_EQ(shown(grid(kScaleA, 0)), "  100  ");
    EXPECT_EQ(shown(window->switchSlider(kDrawMode)), name("通常  "));
    EXPECT_EQ(shown(window->switchSlider(kLineColor)), name("１色  "));
    EXPECT_EQ(shown(window->switchSlider(kEndFlag)), name("なし  "));
    EXPECT_TRUE(selectedPens.empty());
}

TEST_F(PenSetTest, RightClickRestoresDefaults)
{
    const std::vector<int32_t> pen1 = wiring(pen(1));
    // A source's default is slot + 1, whatever the destination.
    pressRight(grid(kSourceA, 15));
    EXPECT_EQ(pen(0).params[15].sourceA, 16);
    EXPECT_EQ(shown(grid(kSourceA, 15)), name("EX  １"));
    pen(0).params[19].sourceA = 0;
    pressRight(grid(kSourceA, 19));
    EXPECT_EQ(pen(0).params[19].sourceA, 20);
    EXPECT_EQ(shown(grid(kSourceA, 19)), name("EX  ５"));
    pressRight(grid(kSourceB, 0));
    EXPECT_EQ(pen(0).params[0].sourceB, 1);

    PenParam& p = pen(0).params[4];
    p = {2, 5, 2, 5, 5, 5};
    for (Column c : {kScaleA, kScaleB, kBase, kJitter}) pressRight(grid(c, 4));
    EXPECT_EQ(p.scaleA, 0x10000);
    EXPECT_EQ(p.scaleB, 0);
    EXPECT_EQ(p.base, 0);
    EXPECT_EQ(p.jitter, 0);

    pen(0).endFlag = 1;
    pressRight(window->switchSlider(kDrawMode));
    pressRight(window->switchSlider(kEndFlag));
    EXPECT_EQ(pen(0).drawMode, 0);
    EXPECT_EQ(pen(0).endFlag, 0);
    EXPECT_EQ(shown(window->switchSlider(kDrawMode)), name("しない"));
    EXPECT_EQ(wiring(pen(1)), pen1);
}

TEST_F(PenSetTest, ColumnsShowTheirRanges)
{
    PenParam& p = pen(0).params[6];
    p.jitter = 0x10000;
    EXPECT_EQ(shown(grid(kJitter, 6)), "  200  ");
    p.jitter = 0x8000;
    EXPECT_EQ(shown(grid(kJitter, 6)), "  100  ");

    // Bar length of a 100-wide compact slider: 98 - 63 = 35.
    press(grid(kScaleB, 6), Qt::LeftButton, 0);
    EXPECT_EQ(p.scaleB, -0x50000);
    EXPECT_EQ(shown(grid(kScaleB, 6)), " -500  ");
    press(grid(kScaleB, 6), Qt::LeftButton, 35);
    EXPECT_EQ(p.scaleB, 0x50000);
    EXPECT_EQ(shown(grid(kScaleB, 6)), "  500  ");
    press(grid(kBase, 6), Qt::LeftButton, 0);
    EXPECT_EQ(shown(grid(kBase, 6)), " -200  ");
    press(grid(kScaleA, 6), Qt::LeftButton, 35);
    EXPECT_EQ(shown(grid(kScaleA, 6)), "  200  ");
    stepDown(grid(kJitter, 6));
    EXPECT_EQ(p.jitter, 0x8000 - 327);
    // The source list ends with index 33.
    pen(0).params[0].sourceB = 33;
    EXPECT_EQ(shown(grid(kSourceB, 0)), name("ｶｳﾝﾄ３"));
}

TEST_F(PenSetTest, PenNumberSwitchesEverySlider)
{
    pen(1).params[19].jitter = 0x1234;
    const std::vector<int32_t> pen0 = wiring(pen(0));
    ValueAtPaint jitterPaints(grid(kJitter, 19));
    // PenNo: bar length 128 - 90 = 38, half step 19, so client x 30 chooses 1.
    press(window->penNumberSlider(), Qt::LeftButton, 30);
    EXPECT_EQ(window->penNumber(), 1);
    EXPECT_EQ(window->shownPen(), 1);
    EXPECT_EQ(selectedPens, std::vector<int>{1});
    settle();
    // Every repaint after the switch shows pen 1.
    ASSERT_FALSE(jitterPaints.values.empty());
    for (int32_t value : jitterPaints.values) EXPECT_EQ(value, 0x1234);

    const std::vector<int32_t> pen1 = wiring(pen(1));
    for (int i = 0; i < kSlotCount; ++i)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(grid(Column(c), i)->value(), pen1[size_t(i * 6 + c)]) << "column " << c << " slot " << i;
    pen(1).lineColor = 7;
    EXPECT_EQ(window->switchSlider(kLineColor)->value(), 7);
    pen(1).lineColor = 0;
    // Pen 1: color 1 follows color 2, angle also reads the motion angle, off.
    EXPECT_EQ(shown(window->penNumberSlider()), "    1  ");
    EXPECT_EQ(shown(grid(kSourceA, 0)), name("色相２"));
    EXPECT_EQ(shown(grid(kSourceB, 8)), name("動角度"));
    EXPECT_EQ(shown(window->switchSlider(kDrawMode)), name("しない"));

    press(grid(kJitter, 2), Qt::LeftButton, 35);
    stepUp(window->switchSlider(kLineColor));
    pressRight(grid(kSourceA, 0));
    EXPECT_EQ(pen(1).params[2].jitter, 0x10000);
    EXPECT_EQ(pen(1).lineColor, 1);
    EXPECT_EQ(pen(1).params[0].sourceA, 1);
    EXPECT_EQ(wiring(pen(0)), pen0);

    stepDown(window->penNumberSlider());
    settle();
    EXPECT_EQ(selectedPens, (std::vector<int>{1, 0}));
    EXPECT_EQ(window->switchSlider(kLineColor)->value(), pen(0).lineColor);
    EXPECT_EQ(shown(grid(kSourceA, 3)), name("色相１"));
    EXPECT_EQ(shown(window->switchSlider(kDrawMode)), name("通常  "));
    EXPECT_EQ(wiring(pen(0)), pen0);

    // Right-clicking PenNo goes back to pen 0.
    stepUp(window->penNumberSlider());
    settle();
    EXPECT_EQ(shown(grid(kJitter, 2)), "  200  ");
    pressRight(window->penNumberSlider());
    settle();
    EXPECT_EQ(window->penNumber(), 0);
    EXPECT_EQ(shown(grid(kJitter, 2)), "    0  ");
    EXPECT_EQ(selectedPens, (std::vector<int>{1, 0, 1, 0}));

    // Clicks that leave the number as it is switch nothing.
    pressRight(window->penNumberSlider());
    stepDown(window->penNumberSlider());
    settle();
    EXPECT_EQ(selectedPens.size(), 4u);
}

TEST_F(PenSetTest, LoadedValuesOutsideTheListsShowAsNumbers)
{
    // Pen files may hold anything; no list is read past its end.
    pen(0).params[0].sourceA = 40;
    pen(0).params[1].sourceB = -1;
    pen(0).params[2].scaleB = INT32_MIN;
    pen(0).params[3].jitter = INT32_MAX;
    pen(0).drawMode = 7;
    pen(0).lineColor = -3;
    pen(0).endFlag = 2;
    EXPECT_EQ(shown(grid(kSourceA, 0)), "   40  ");
    EXPECT_EQ(shown(grid(kSourceB, 1)), "   -1  ");
    EXPECT_EQ(shown(window->switchSlider(kDrawMode)), "    7  ");
    EXPECT_EQ(shown(window->switchSlider(kLineColor)), "   -3  ");
    EXPECT_EQ(shown(window->switchSlider(kEndFlag)), "    2  ");
    // 0x7FFFFFFF x 100 / 0x8000 = 6553599, cut to 7 bytes.
    EXPECT_EQ(shown(grid(kJitter, 3)), " 655359");

    // The whole window paints them.
    EXPECT_EQ(window->grab().toImage().size(), QSize(650, 350));

    // The step buttons bring such a value back into range.
    stepUp(grid(kSourceA, 0));
    EXPECT_EQ(pen(0).params[0].sourceA, 33);
    stepUp(window->switchSlider(kDrawMode));
    EXPECT_EQ(pen(0).drawMode, 2);
}

TEST_F(PenSetTest, ClicksOutsideTheSlidersChangeNothing)
{
    const std::vector<int32_t> pen0 = wiring(pen(0));
    const std::vector<int32_t> pen1 = wiring(pen(1));
    for (QPoint at : {QPoint(5, 5), QPoint(160, 15), QPoint(100, 32), QPoint(640, 340), QPoint(625, 100)}) {
        ASSERT_EQ(window->childAt(at), nullptr);
        QTest::mouseClick(window.get(), Qt::LeftButton, {}, at);
        QTest::mouseClick(window.get(), Qt::RightButton, {}, at);
    }
    settle();
    EXPECT_EQ(window->penNumber(), 0);
    EXPECT_EQ(window->shownPen(), 0);
    EXPECT_TRUE(selectedPens.empty());
    EXPECT_EQ(wiring(pen(0)), pen0);
    EXPECT_EQ(wiring(pen(1)), pen1);
}

TEST_F(PenSetTest, AngleWiredToTheMotionTurnsTheDabs)
{
    // A bar four map rows high across the whole map shows how a dab is turned.
    ShapeMap& shape = *pen(0).shape;
    for (int y = 0; y < shape.height; ++y)
        for (int x = 0; x < shape.width; ++x) shape.coverage[y * shape.stride + x] = y >= 38 && y < 42 ? 255 : 0;

    // One dab: 100/256 pixel along a one-pixel move, the next one a spacing later.
    const auto paintedSize = [&](int dx, int dy) {
        ImagePtr image(createImage(200, 200, 0, 0, 0xFFFFFF));
        beginStroke(image.get(), &pen(0), workspace.strokeValues(), workspace.strokeRandom(), 100, 100);
        continueStroke(image.get(), &pen(0), workspace.strokeValues(), workspace.strokeRandom(), 100 + dx, 100 + dy);
        QRect painted;
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x)
                if ((image->at(x, y) & 0xFFFFFF) != 0xFFFFFF) painted |= QRect(x, y, 1, 1);
        return painted.size();
    };
    // Angle from angle1 (0): the bar lies flat whichever way the drag goes.
    EXPECT_EQ(paintedSize(1, 0), QSize(80, 4));
    EXPECT_EQ(paintedSize(0, 1), QSize(80, 4));

    // Source 12 at client x 11 of the 30-pixel bar: 33 x 11 / 30.
    press(grid(kSourceA, 8), Qt::LeftButton, 11);
    ASSERT_EQ(pen(0).params[8].sourceA, 12);
    EXPECT_EQ(shown(grid(kSourceA, 8)), name("動角度"));
    // Moving right is a quarter turn and stands the bar up; moving down is a half turn.
    EXPECT_EQ(paintedSize(1, 0), QSize(4, 80));
    EXPECT_EQ(paintedSize(0, 1), QSize(80, 4));
}

}  // namespace
}  // namespace nelmora
