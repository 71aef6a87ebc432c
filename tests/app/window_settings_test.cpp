// Window places, visibility and folders kept in the settings from one run to the next.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>

#include "app/canvas_view.h"
#include "app/window_settings.h"
#include "fake_dialogs.h"
#include "main_frame_fixture.h"
#include "platform/program_settings.h"
#include "platform/recent_folders.h"

namespace nelmora {
namespace {

class WindowSettingsTest : public MainFrameFixture {
protected:
    void SetUp() override
    {
        resetProgramSettings();
        MainFrameFixture::SetUp();
    }

    // A second run: a new frame restored from what the first one saved.
    std::unique_ptr<MainFrame> nextRun()
    {
        auto next = std::make_unique<MainFrame>();
        restoreWindowSettings(*next);
        return next;
    }
};

// Client areas are compared: that is what a person sees in the same place;
// frames are the window manager's.
TEST_F(WindowSettingsTest, PlacesVisibilityAndTicksComeBackAtTheNextStart)
{
    frame->move(40, 50);
    frame->resize(520, 410);
    for (int k = 0; k < kToolCount; ++k) frame->toolWindow(k)->move(600 + 10 * k, 20 + 100 * k);
    frame->toggleTool(kPenPaletteTool);  // hidden
    frame->toggleTool(kPenSetTool);      // shown
    frame->view()->zoomTo(300);
    QCoreApplication::processEvents();
    saveWindowSettings(*frame);

    const auto next = nextRun();
    EXPECT_EQ(next->geometry(), frame->geometry());
    for (int k = 0; k < kToolCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(next->toolWindow(k)->geometry(), frame->toolWindow(k)->geometry());
        EXPECT_EQ(next->toolVisible(k), frame->toolVisible(k));
        EXPECT_EQ(next->actions().toggleTool[size_t(k)]->isChecked(), frame->toolVisible(k));
        EXPECT_EQ(next->toolWindow(k)->isVisible(), frame->toolVisible(k));
    }
    EXPECT_EQ(next->view()->zoom(), 300);

    // A magnification the View menu does not offer (an edited file) is ignored.
    programSettings()->setValue(QStringLiteral("view/magnification"), 37);
    EXPECT_EQ(nextRun()->view()->zoom(), 100);
}

TEST_F(WindowSettingsTest, ClosingTheFrameSavesAndResetStartsFromTheDefaults)
{
    frame->toggleTool(kColorCreatorTool);
    fake.answerYes = true;
    frame->close();
    EXPECT_FALSE(nextRun()->toolVisible(kColorCreatorTool));

    resetProgramSettings();
    const auto fresh = nextRun();
    const bool startUp[kToolCount] = {true, true, true, false, false, false};
    for (int k = 0; k < kToolCount; ++k) {
        EXPECT_EQ(fresh->toolVisible(k), startUp[k]);
        EXPECT_EQ(fresh->actions().toggleTool[size_t(k)]->isChecked(), startUp[k]);
    }
}

TEST_F(WindowSettingsTest, FirstStartPutsTheToolWindowsBesideTheFrameNotOverIt)
{
    const auto first = nextRun();
    for (int k = 0; k < kToolCount; ++k) {
        SCOPED_TRACE(k);
        const QRect tool = first->toolWindow(k)->geometry();
        EXPECT_FALSE(tool.intersects(first->geometry()));
        for (int j = 0; j < k; ++j) EXPECT_FALSE(tool.intersects(first->toolWindow(j)->geometry()));
    }
}

TEST_F(WindowSettingsTest, AWindowRestoredOffEveryScreenComesBackOntoThePrimaryOne)
{
    frame->move(5000, 4000);
    frame->toolWindow(kColorCreatorTool)->move(-3000, 200);
    saveWindowSettings(*frame);

    const auto next = nextRun();
    const QRect primary = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(primary.contains(next->geometry()));
    EXPECT_TRUE(primary.contains(next->toolWindow(kColorCreatorTool)->geometry()));
}

TEST(WindowPlacement, ToolWindowsStackBesideTheFrameAndStartANewColumnAtTheBottom)
{
    const QList<QPoint> places =
        besideFrame(QRect(0, 0, 400, 300), {QSize(190, 320), QSize(250, 400), QSize(200, 300)}, QRect(0, 0, 1280, 1024));
    ASSERT_EQ(places.size(), 3);
    EXPECT_EQ(places[0], QPoint(416, 0));
    EXPECT_EQ(places[1], QPoint(416, 360));
    EXPECT_EQ(places[2], QPoint(416 + 266, 0));
}

TEST_F(WindowSettingsTest, OpenAndSaveStartInTheLastFolderChosen)
{
    QTemporaryDir pictures;
    fake.chosenFile = pictures.filePath(QStringLiteral("a.png"));
    frame->saveImage();
    fake.chosenFile.clear();  // a cancel remembers nothing
    frame->openImage();
    ASSERT_EQ(fake.fileFolders.size(), 2);
    EXPECT_EQ(fake.fileFolders[1], pictures.path());
    EXPECT_EQ(lastFolder(FileKind::picture), pictures.path());
    EXPECT_EQ(lastFolder(FileKind::pen, QStringLiteral("/fallback")), QStringLiteral("/fallback"));

    pictures.remove();
    EXPECT_EQ(lastFolder(FileKind::picture, QStringLiteral("/fallback")), QStringLiteral("/fallback"));
}

}  // namespace
}  // namespace nelmora
