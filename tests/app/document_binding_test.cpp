// The windows over one document: whatever changes a value, every window that
// shows it follows at once, and showing or repainting windows changes nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <filesystem>
#include <memory>

#include "app/canvas_window.h"
#include "app/document.h"
#include "app/main_frame.h"
#include "fake_dialogs.h"
#include "paint_counter.h"
#include "pentools/parameter_slider.h"
#include "pentools/pen_creator_sliders.h"
#include "pentools/pen_creator_window.h"
#include "pentools/pen_palette_window.h"
#include "pentools/pen_set_window.h"

namespace nelmora {
namespace {

struct Outcome {
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> pens;
    uint32_t random;
};

void drag(CanvasWindow* canvas, QPoint from, QPoint to)
{
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    for (int k = 1; k <= 8; ++k) QTest::mouseMove(canvas, from + (to - from) * k / 8);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
}

// A press at client column x of a parameter slider (inside its border).
void press(ParameterSlider* slider, int x, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(slider, button, {}, QPoint(1 + x, 7));
}

// Shows, hides and repaints the pen creator and the pen set, and grabs every
// tool window: what moving windows about does, which must change nothing.
void fidget(MainFrame& frame)
{
    for (int round = 0; round < 3; ++round) {
        for (int tool : {kPenCreatorTool, kPenSetTool}) {
            frame.actions().toggleTool[size_t(tool)]->trigger();
            QCoreApplication::processEvents();
            frame.toolWindow(tool)->repaint();
            frame.toolWindow(tool)->grab();
            frame.actions().toggleTool[size_t(tool)]->trigger();
        }
        for (int tool = 0; tool < kToolCount; ++tool) frame.toolWindow(tool)->grab();
        QCoreApplication::processEvents();
    }
}

// The same user actions on a fresh program, with or without window fidgeting between them.
Outcome paintSession(bool withFidgeting)
{
    FakeDialogs fake;
    setDialogs(&fake);
    MainFrame frame;
    frame.show();
    QCoreApplication::processEvents();
    auto* creator = static_cast<PenCreatorWindow*>(frame.toolWindow(kPenCreatorTool));
    auto* penSet = static_cast<PenSetWindow*>(frame.toolWindow(kPenSetTool));
    const auto between = [&] {
        if (withFidgeting) fidget(frame);
    };

    drag(frame.canvas(), {20, 30}, {170, 60});
    between();
    // Noisy round pen: msize and rand1 through the pen creator, then a diffusion mode.
    press(creator->slider(kMsizeRow), 40);
    press(creator->slider(kRand1Row), 90);
    press(creator->slider(kModeRow), 112);
    between();
    drag(frame.canvas(), {30, 150}, {180, 120});
    between();
    // Pen 1 delayed, with jitter on its hue.
    press(penSet->penNumberSlider(), 30);
    press(penSet->switchSlider(0), 90);
    press(penSet->gridSlider(5, 0), 20);
    between();
    drag(frame.canvas(), {100, 10}, {100, 190});
    between();
    QTest::mouseClick(frame.canvas(), Qt::RightButton, {}, QPoint(100, 100));
    drag(frame.canvas(), {10, 100}, {190, 100});

    Workspace& workspace = frame.document().workspace();
    const Image& image = workspace.image();
    Outcome outcome{{image.pixels, image.pixels + size_t(image.width) * image.height},
                    workspace.penFileBytes(),
                    workspace.random().value};
    setDialogs(nullptr);
    return outcome;
}

TEST(DocumentBinding, ShowingHidingAndRepaintingWindowsPaintsTheSamePicture)
{
    const Outcome plain = paintSession(false);
    const Outcome fidgeted = paintSession(true);
    EXPECT_TRUE(plain.pixels == fidgeted.pixels);
    EXPECT_TRUE(plain.pens == fidgeted.pens);
    EXPECT_EQ(plain.random, fidgeted.random);
    // The session really painted, and with more than the start-up pen.
    EXPECT_NE(std::count(plain.pixels.begin(), plain.pixels.end(), 0xFFFFFFu), long(plain.pixels.size()));
}

class DocumentBindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setDialogs(&fake);
        frame = std::make_unique<MainFrame>();
        frame->show();
        for (int tool : {kPenCreatorTool, kPenSetTool}) frame->actions().toggleTool[size_t(tool)]->trigger();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        frame.reset();
        setDialogs(nullptr);
    }
    Workspace& workspace() { return frame->document().workspace(); }

    FakeDialogs fake;
    std::unique_ptr<MainFrame> frame;
};

TEST_F(DocumentBindingTest, APenLoadedInThePaletteShowsEverywhereAtOnce)
{
    // A pen file whose pen 0 differs: blend mode 5, slot 3's jitter, msize.
    const std::string folder = std::filesystem::temp_directory_path().string() + "/";
    const std::string name = "nelmora_binding_test.pen";
    workspace().setPenField(0, PenField::blendIndex, 5);
    workspace().setSlotField(0, 3, SlotField::jitter, 0x4000);
    workspace().setShapeSetting(0, 1, 0x2000);
    ASSERT_TRUE(workspace().savePens(folder, name));
    workspace().setPenField(0, PenField::blendIndex, 0);
    workspace().setSlotField(0, 3, SlotField::jitter, 0);
    workspace().setShapeSetting(0, 1, 0x8000);
    QCoreApplication::processEvents();

    auto* creator = static_cast<PenCreatorWindow*>(frame->toolWindow(kPenCreatorTool));
    auto* penSet = static_cast<PenSetWindow*>(frame->toolWindow(kPenSetTool));
    PaintCounter creatorPaints(creator->slider(kModeRow));
    PaintCounter setPaints(penSet->gridSlider(5, 3));
    fake.chosenFile = QString::fromStdString(folder + name);
    static_cast<PenPaletteWindow*>(frame->toolWindow(kPenPaletteTool))->command(kPaletteLoadCommand);
    QCoreApplication::processEvents();
    std::filesystem::remove(folder + name);

    EXPECT_GT(creatorPaints.paints, 0);
    EXPECT_GT(setPaints.paints, 0);
    EXPECT_EQ(creator->slider(kModeRow)->value(), 5);
    EXPECT_EQ(creator->slider(kMsizeRow)->value(), 0x2000);
    EXPECT_EQ(penSet->gridSlider(5, 3)->value(), 0x4000);
    // An edit right after the load goes into the loaded pen, keeping the rest of it.
    press(penSet->gridSlider(5, 4), 35);
    EXPECT_EQ(workspace().pen(0).params[4].jitter, 0x10000);
    EXPECT_EQ(workspace().pen(0).params[3].jitter, 0x4000);
}

TEST_F(DocumentBindingTest, ValuesEditedAnywhereRepaintTheWindowsShowingThem)
{
    auto* line = frame->toolWindow(kLineOptionTool);
    PaintCounter linePaints(line->findChildren<ParameterSlider*>().first());
    PaintCounter colorPaints(frame->toolWindow(kColorCreatorTool));
    workspace().setDrawingValue(dv::thickness1, 0x18000);
    workspace().setDrawingValue(dv::hue2, 0x3000);
    QCoreApplication::processEvents();
    EXPECT_GT(linePaints.paints, 0);
    EXPECT_GT(colorPaints.paints, 0);
}

TEST_F(DocumentBindingTest, AToolWindowClosedByTheWindowManagerIsHiddenLikeTheMenuToggle)
{
    ToolWindow* creator = frame->toolWindow(kPenCreatorTool);
    ASSERT_TRUE(creator->isVisible());
    EXPECT_TRUE(creator->close() == false);  // the close is turned into a hide, not a destroy
    EXPECT_FALSE(creator->isVisible());
    EXPECT_FALSE(frame->toolVisible(kPenCreatorTool));
    EXPECT_FALSE(frame->actions().toggleTool[kPenCreatorTool]->isChecked());
    frame->actions().toggleTool[kPenCreatorTool]->trigger();
    EXPECT_TRUE(creator->isVisible());
    EXPECT_TRUE(frame->actions().toggleTool[kPenCreatorTool]->isChecked());
}

}  // namespace
}  // namespace nelmora
