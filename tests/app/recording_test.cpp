// Recording and replay through the real windows: random sessions of strokes,
// tool window clicks, pen loads, fills, New, Open, undo and redo, with tool
// windows shown and hidden and the canvas magnified, saved as a recording and replayed by the render
// tool's code to the same pixels.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "app/canvas_window.h"
#include "app/new_image_dialog.h"
#include "main_frame_fixture.h"
#include "picture/picture_files.h"
#include "platform/tool_window.h"
#include "pentools/pen_palette_window.h"
#include "render/render_tool.h"

namespace nelmora {
namespace {

namespace fs = std::filesystem;

class RecordingSession : public MainFrameFixture {
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        // A folder per test: ctest runs them side by side.
        dir = fs::path(::testing::TempDir()) /
              ("nelmora-recording-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ImagePtr gradient(createImage(90, 70, 0, 0, 0));
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 90; ++x) gradient->at(x, y) = uint32_t(x * 2 << 16 | y * 3 << 8 | (x + y));
        openable = (dir / "opened.png").string();
        ASSERT_TRUE(writePicture(*gradient, openable));
    }
    void TearDown() override
    {
        MainFrameFixture::TearDown();
        fs::remove_all(dir);
    }

    QPoint somewhere(QWidget* w) { return {int(random() % unsigned(w->width())), int(random() % unsigned(w->height()))}; }
    void moveWithButton(QWidget* w, QPoint p)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }
    void drag(QWidget* w, int moves)
    {
        QPoint p = somewhere(w);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, p);
        for (int i = 0; i < moves; ++i) {
            p += QPoint(int(random() % 41) - 20, int(random() % 41) - 20);
            moveWithButton(w, p);
        }
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, p);
    }
    // A left or right click, or a short drag, on a shown tool window: on a
    // random control of it or at a random place (its menu bar aside).
    void useToolWindow()
    {
        ToolWindow* window = frame->toolWindow(int(random() % kToolCount));
        if (!window || !window->isVisible()) return;
        QWidget* target = window;
        QPoint at = somewhere(window);
        const QList<QWidget*> controls = window->findChildren<QWidget*>();
        if (random() % 2 == 0 && !controls.isEmpty()) {
            target = controls[qsizetype(random() % controls.size())];
            at = somewhere(target);
        } else if (QWidget* child = window->childAt(at)) {
            at = child->mapFrom(window, at);
            target = child;
        }
        for (QWidget* w = target; w; w = w->parentWidget())
            if (qobject_cast<QMenuBar*>(w) || !w->isVisible()) return;
        switch (random() % 3) {
        case 0: QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at); break;
        case 1: QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, at); break;
        default: drag(target, 3); break;
        }
    }
    void loadFromPalette()
    {
        ToolWindow* palette = frame->toolWindow(kPenPaletteTool);
        if (!palette) return;
        const QList<PaletteItemWidget*> items = palette->findChildren<PaletteItemWidget*>();
        if (items.isEmpty()) return;
        static_cast<PenPaletteWindow*>(palette)->itemClicked(items[qsizetype(random() % items.size())]->item().index);
    }
    void newPicture()
    {
        fake.fillIn = [this](QDialog& dialog) {
            auto& d = static_cast<NewImageDialog&>(dialog);
            d.widthEdit()->setText(QString::number(40 + random() % 200));
            d.heightEdit()->setText(QString::number(40 + random() % 200));
            d.backgroundBox()->setCurrentIndex(int(random() % unsigned(d.backgroundBox()->count())));
            d.okButton()->click();
        };
        frame->actions().newImage->trigger();
        fake.fillIn = nullptr;
    }
    void open()
    {
        fake.chosenFile = QString::fromStdString(openable);
        frame->actions().open->trigger();
        fake.chosenFile.clear();
    }

    void randomAction()
    {
        const MainFrameActions& a = frame->actions();
        CanvasWindow* canvas = frame->canvas();
        const unsigned pick = random() % 100;
        if (pick < 30) drag(canvas, 2 + int(random() % 8));
        else if (pick < 34) QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, somewhere(canvas));
        else if (pick < 62) useToolWindow();
        else if (pick < 70) frame->toggleTool(int(random() % kToolCount));
        else if (pick < 74) (pick % 3 == 0 ? a.fillWhite : pick % 3 == 1 ? a.fillChecker : a.fillBlack)->trigger();
        else if (pick < 82) (pick % 2 ? a.undo : a.redo)->trigger();
        else if (pick < 85) newPicture();
        else if (pick < 88) open();
        else if (pick < 92) a.repaintLastStroke->trigger();
        else if (pick < 95) a.zoom[random() % a.zoom.size()]->trigger();  // a view: the picture stays
        else loadFromPalette();
        QCoreApplication::processEvents();
    }

    std::string saveRecording()
    {
        const std::string path = (dir / "session.nlr").string();
        fake.chosenFile = QString::fromStdString(path);
        frame->actions().saveRecording->trigger();
        fake.chosenFile.clear();
        return path;
    }
    // The render tool's picture of the recording, or null.
    ImagePtr render(const std::string& recording, const std::string& name)
    {
        const std::string out = (dir / name).string();
        std::istringstream none;
        std::ostringstream errors;
        EXPECT_EQ(runRenderTool({"--events", recording, "-o", out}, none, errors), 0) << errors.str();
        return readPicture(out);
    }
    static bool samePixels(const Image& a, const Image& b)
    {
        if (a.width != b.width || a.height != b.height) return false;
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                if ((a.at(x, y) & 0xFFFFFF) != (b.at(x, y) & 0xFFFFFF)) return false;
        return true;
    }

    fs::path dir;
    std::string openable;
    std::mt19937 random;
};

TEST_F(RecordingSession, RandomSessionsReplayToTheSamePixels)
{
    constexpr int kSessions = 50;
    std::map<std::string, int> commandsSeen;
    for (int session = 0; session < kSessions; ++session) {
        random.seed(unsigned(session));
        workspace().reset();  // each session from the start-up state, as a replay starts
        for (int k = 0; k < kToolCount; ++k)
            if (frame->toolVisible(k) != (random() % 2 == 0)) frame->toggleTool(k);
        for (int action = 0; action < 25; ++action) randomAction();
        ASSERT_TRUE(fake.warnings.isEmpty()) << fake.warnings.join('\n').toStdString();
        const std::string recording = saveRecording();
        ASSERT_TRUE(fake.warnings.isEmpty()) << fake.warnings.join('\n').toStdString();
        std::ifstream lines(recording);
        for (std::string line; std::getline(lines, line);) ++commandsSeen[line.substr(0, line.find(' '))];
        const ImagePtr replayed = render(recording, "replayed.bmp");
        ASSERT_TRUE(replayed) << "session " << session;
        ASSERT_TRUE(samePixels(*replayed, workspace().image())) << "session " << session;
    }
    // The sessions reached every kind of action the program records.
    for (const char* command : {"down", "move", "up", "pick", "value", "pen", "slot", "shape", "regen", "fill", "undo",
                                "redo", "repaint", "new", "image", "pens"})
        EXPECT_GT(commandsSeen[command], 0) << "no " << command;
}

TEST_F(RecordingSession, ReplayInTheProgramRecordsTheSameSessionAgain)
{
    random.seed(7);
    for (int action = 0; action < 30; ++action) randomAction();
    const std::string recording = saveRecording();
    const ImagePtr first = render(recording, "first.bmp");
    const ImagePtr second = render(recording, "second.bmp");
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(samePixels(*first, *second));

    const std::vector<uint32_t> painted(workspace().image().pixels,
                                        workspace().image().pixels + size_t(workspace().image().width) *
                                                                         size_t(workspace().image().height));
    workspace().fill(0, 0);
    fake.chosenFile = QString::fromStdString(recording);
    frame->actions().replayRecording->trigger();
    fake.chosenFile.clear();
    EXPECT_TRUE(fake.warnings.isEmpty()) << fake.warnings.join('\n').toStdString();
    ASSERT_TRUE(samePixels(*first, workspace().image()));
    EXPECT_FALSE(workspace().history().canUndo() && workspace().history().undoableCount() > 100);

    // The recording restarted with the replay: saved again, it still gives the picture.
    const ImagePtr again = render(saveRecording(), "again.bmp");
    ASSERT_TRUE(again);
    EXPECT_TRUE(samePixels(*again, *first));
}

TEST_F(RecordingSession, RepaintTheLastStrokeWithAnotherPenThenUndo)
{
    CanvasWindow* canvas = frame->canvas();
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(20, 100));
    for (int x = 30; x <= 180; x += 10) moveWithButton(canvas, QPoint(x, 100 + x / 10));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(180, 118));
    const Image& image = workspace().image();
    const std::vector<uint32_t> stroke(image.pixels, image.pixels + 200 * 200);

    workspace().setDrawingValue(dv::thickness1, 0x30000);
    frame->actions().repaintLastStroke->trigger();
    const std::vector<uint32_t> repainted(image.pixels, image.pixels + 200 * 200);
    EXPECT_NE(repainted, stroke);
    EXPECT_NE(image.at(100, 80) & 0xFFFFFF, 0xFFFFFFu) << "the thicker pen reaches further";

    frame->actions().undo->trigger();
    EXPECT_EQ(std::vector<uint32_t>(image.pixels, image.pixels + 200 * 200), stroke);
    frame->actions().redo->trigger();
    EXPECT_EQ(std::vector<uint32_t>(image.pixels, image.pixels + 200 * 200), repainted);

    // The program's picture is what the recording replays to.
    const ImagePtr replayed = render(saveRecording(), "repainted.bmp");
    ASSERT_TRUE(replayed);
    EXPECT_TRUE(samePixels(*replayed, image));
}

}  // namespace
}  // namespace nelmora
