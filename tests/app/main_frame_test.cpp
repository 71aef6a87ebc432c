#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/canvas_window.h"
#include "app/document.h"
#include "app/main_frame.h"
#include "app/new_image_dialog.h"
#include "main_frame_fixture.h"
#include "paint_counter.h"

namespace nelmora {
namespace {

class MainFrameTest : public MainFrameFixture {
protected:

    QSize imageSize() { return {image().width, image().height}; }

    // File > New, with `user` playing the dialog.
    void runNew(const std::function<void(NewImageDialog&)>& user)
    {
        fake.fillIn = [&user](QDialog& d) { user(static_cast<NewImageDialog&>(d)); };
        frame->actions().newImage->trigger();
        fake.fillIn = nullptr;
    }
    void newImage(const QString& width, const QString& height, int entry)
    {
        runNew([&](NewImageDialog& d) {
            d.widthEdit()->setText(width);
            d.heightEdit()->setText(height);
            d.backgroundBox()->setCurrentIndex(entry);
            d.okButton()->click();
        });
    }

};

TEST_F(MainFrameTest, StartsWithThreeToolWindowsShownAndTicked)
{
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Nelmora v-.02"));
    const bool shown[kToolCount] = {true, true, true, false, false};
    for (int k = 0; k < kToolCount; ++k) {
        ASSERT_NE(frame->toolWindow(k), nullptr);
        EXPECT_EQ(frame->toolWindow(k)->isVisible(), shown[k]) << k;
        EXPECT_EQ(frame->toolVisible(k), shown[k]) << k;
        EXPECT_TRUE(frame->actions().toggleTool[size_t(k)]->isCheckable());
        EXPECT_EQ(frame->actions().toggleTool[size_t(k)]->isChecked(), shown[k]) << k;
    }
    EXPECT_EQ(frame->canvas()->geometry(), QRect(0, 0, 200, 200));
    EXPECT_EQ(imageSize(), QSize(200, 200));
    EXPECT_EQ(image().at(199, 199), 0xFFFFFFu);
}

TEST_F(MainFrameTest, MenuBarHoldsTheSixTopItemsWithSelectionAndHelpGreyed)
{
    QStringList titles;
    QList<bool> enabled;
    for (QAction* a : frame->menuBar()->actions()) {
        titles << a->text();
        enabled << a->isEnabled();
    }
    EXPECT_EQ(titles, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ウィンドウ(&W)", "選択範囲(&S)", "ヘルプ(&H)"}));
    EXPECT_EQ(enabled, (QList<bool>{true, true, true, true, false, false}));
    EXPECT_EQ(frame->menuBar()->actions().last()->menu(), nullptr);  // a plain item, not a popup
}

TEST_F(MainFrameTest, PenCreatorToggleShowsThenHidesAndTicksAlong)
{
    QAction* toggle = frame->actions().toggleTool[kPenCreatorTool];
    QWidget* penCreator = frame->toolWindow(kPenCreatorTool);
    toggle->trigger();
    EXPECT_TRUE(penCreator->isVisible());
    EXPECT_TRUE(frame->toolVisible(kPenCreatorTool));
    EXPECT_TRUE(toggle->isChecked());
    toggle->trigger();
    EXPECT_FALSE(penCreator->isVisible());
    EXPECT_FALSE(frame->toolVisible(kPenCreatorTool));
    EXPECT_FALSE(toggle->isChecked());
    // The other windows keep their state.
    EXPECT_TRUE(frame->toolWindow(kColorCreatorTool)->isVisible());
    EXPECT_FALSE(frame->toolWindow(kPenSetTool)->isVisible());
}

TEST_F(MainFrameTest, CheckerFillOfANewTwentyByTenImage)
{
    newImage("20", "10", 0);
    ASSERT_EQ(imageSize(), QSize(20, 10));
    EXPECT_EQ(frame->canvas()->size(), QSize(20, 10));

    PaintCounter canvasPaints(frame->canvas());
    frame->actions().fillChecker->trigger();
    const uint32_t light = 0xC0C0C0, dark = 0x404040;
    EXPECT_EQ(image().at(0, 0), light);
    EXPECT_EQ(image().at(7, 7), light);
    EXPECT_EQ(image().at(8, 0), dark);
    EXPECT_EQ(image().at(15, 7), dark);
    EXPECT_EQ(image().at(16, 0), light);
    EXPECT_EQ(image().at(19, 7), light);
    EXPECT_EQ(image().at(0, 8), dark);
    EXPECT_EQ(image().at(8, 9), light);
    EXPECT_EQ(image().at(19, 9), dark);

    QCoreApplication::processEvents();
    EXPECT_GT(canvasPaints.paints, 0);
    const QImage shown = frame->canvas()->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, light);
    EXPECT_EQ(shown.pixel(8, 0) & 0xFFFFFF, dark);
    EXPECT_EQ(shown.pixel(8, 8) & 0xFFFFFF, light);

    frame->actions().fillBlack->trigger();
    EXPECT_EQ(image().at(0, 0), 0u);
    EXPECT_EQ(image().at(8, 0), 0u);
    frame->actions().fillWhite->trigger();
    EXPECT_EQ(image().at(8, 0), 0xFFFFFFu);
}

TEST_F(MainFrameTest, NewWithTheDialogsDefaultsMakesAWhiteImageOfTheCurrentSize)
{
    newImage("30", "40", 1);
    ASSERT_EQ(image().at(0, 0), 0u);
    const Image* before = &frame->document().workspace().image();
    QString widthText, heightText, entry;
    int count = 0;
    runNew([&](NewImageDialog& d) {
        widthText = d.widthEdit()->text();
        heightText = d.heightEdit()->text();
        entry = d.backgroundBox()->currentText();
        count = d.backgroundBox()->count();
        d.okButton()->click();
    });
    EXPECT_EQ(widthText, "30");
    EXPECT_EQ(heightText, "40");
    EXPECT_EQ(entry, "白:(ffffff)");
    EXPECT_EQ(count, 8);
    EXPECT_NE(&frame->document().workspace().image(), before);
    EXPECT_EQ(imageSize(), QSize(30, 40));
    EXPECT_EQ(image().at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(image().at(29, 39), 0xFFFFFFu);
}

TEST_F(MainFrameTest, NewWithBlackGivesABlackImage)
{
    newImage("200", "200", 1);
    EXPECT_EQ(image().at(0, 0), 0u);
    EXPECT_EQ(image().at(199, 199), 0u);
    EXPECT_TRUE(fake.warnings.isEmpty());
}

TEST_F(MainFrameTest, CancelledNewChangesNothing)
{
    const Image* before = &frame->document().workspace().image();
    runNew([](NewImageDialog& d) {
        d.widthEdit()->setText("10");
        d.reject();
    });
    EXPECT_EQ(&frame->document().workspace().image(), before);
    EXPECT_EQ(frame->canvas()->size(), QSize(200, 200));
}

TEST_F(MainFrameTest, SizesThatCannotBeMadeAreRefusedAndKeepTheImage)
{
    newImage("64", "48", 2);
    const Image* before = &frame->document().workspace().image();
    const std::pair<QString, QString> sizes[] = {{"0", "10"}, {"-5", "10"}, {"100000", "100000"}, {"", ""}};
    for (const auto& [w, h] : sizes) {
        fake.warnings.clear();
        bool stayedOpen = false;
        runNew([&](NewImageDialog& d) {
            d.widthEdit()->setText(w);
            d.heightEdit()->setText(h);
            d.okButton()->click();
            stayedOpen = d.result() == 0;
            d.reject();  // the user gives up
        });
        EXPECT_TRUE(stayedOpen) << w.toStdString();
        ASSERT_EQ(fake.warnings.size(), 1) << w.toStdString();
        const QString shownWidth = w.isEmpty() ? "0" : w;
        EXPECT_TRUE(fake.warnings[0].contains(shownWidth)) << fake.warnings[0].toStdString();
        EXPECT_EQ(&frame->document().workspace().image(), before);
        EXPECT_EQ(imageSize(), QSize(64, 48));
        EXPECT_EQ(image().at(63, 47), 0xFF0000u);
        EXPECT_EQ(frame->canvas()->size(), QSize(64, 48));
    }
}

TEST_F(MainFrameTest, TypedBackgroundTextUsesTheEntryItNamesElseWhite)
{
    auto typed = [this](const QString& text) {
        runNew([&](NewImageDialog& d) {
            d.backgroundBox()->setCurrentIndex(1);  // black chosen first, then overtyped
            d.backgroundBox()->setEditText(text);
            d.okButton()->click();
        });
        return image().at(0, 0);
    };
    EXPECT_EQ(typed("灰:(808080)"), 0xFFFFFFu);
    EXPECT_EQ(typed(""), 0xFFFFFFu);
    EXPECT_EQ(typed("青:(0000ff)"), 0x0000FFu);
    EXPECT_TRUE(fake.warnings.isEmpty());
}

TEST_F(MainFrameTest, ExitAsksAndNoKeepsEverything)
{
    const Image* image = &frame->document().workspace().image();
    QPointer<QWidget> palette = frame->toolWindow(kPenPaletteTool);
    fake.answerYes = false;
    frame->actions().exit->trigger();
    EXPECT_EQ(fake.questions, QStringList{"終了確認|終了してもよいですか"});
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(palette && palette->isVisible());
    EXPECT_EQ(&frame->document().workspace().image(), image);
}

TEST_F(MainFrameTest, ExitYesClosesTheFrameWithItsToolWindows)
{
    QPointer<QWidget> windows[kToolCount];
    for (int k = 0; k < kToolCount; ++k) windows[k] = frame->toolWindow(k);
    fake.answerYes = true;
    frame->close();  // the window's own close button asks the same
    EXPECT_EQ(fake.questions.size(), 1);
    EXPECT_FALSE(frame->isVisible());
    for (int k = 0; k < kToolCount; ++k) EXPECT_TRUE(windows[k].isNull()) << k;
    EXPECT_TRUE(QApplication::topLevelWidgets().contains(frame.get()));
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->isVisible()) << w->windowTitle().toStdString();
}

TEST_F(MainFrameTest, RightClickPicksColorOneAndRepaintsTheColorWindow)
{
    newImage("50", "50", 2);  // red
    QCoreApplication::processEvents();
    frame->document().workspace().setDrawingValue(dv::hue1, 1234);
    PaintCounter colorPaints(frame->toolWindow(kColorCreatorTool));
    QTest::mouseClick(frame->canvas(), Qt::RightButton, {}, QPoint(10, 20));
    EXPECT_EQ(frame->document().workspace().drawingValue(dv::hue1), 0);
    EXPECT_EQ(frame->document().workspace().drawingValue(dv::saturation1), 0xFFFF);
    EXPECT_EQ(frame->document().workspace().drawingValue(dv::brightness1), 0xFFFF);
    EXPECT_EQ(frame->document().workspace().drawingValue(dv::saturation2), 40000);
    QCoreApplication::processEvents();
    EXPECT_GT(colorPaints.paints, 0);
}

}  // namespace
}  // namespace nelmora
