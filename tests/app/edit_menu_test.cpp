// Edit > Undo and Redo in the main frame: their place and shortcuts, greying
// with the history, and three strokes undone and redone pixel for pixel.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/canvas_window.h"
#include "main_frame_fixture.h"

namespace nelmora {
namespace {

class EditMenu : public MainFrameFixture {
protected:
    std::vector<uint32_t> pixels() { return {image().pixels, image().pixels + size_t(image().width) * image().height}; }
    void drag(int y)
    {
        QTest::mousePress(frame->canvas(), Qt::LeftButton, {}, QPoint(20, y));
        for (int x = 40; x <= 180; x += 20) QTest::mouseMove(frame->canvas(), QPoint(x, y));
        QTest::mouseRelease(frame->canvas(), Qt::LeftButton, {}, QPoint(180, y));
    }
    bool canUndo() const { return frame->actions().undo->isEnabled(); }
    bool canRedo() const { return frame->actions().redo->isEnabled(); }
};

TEST_F(EditMenu, UndoAndRedoComeFirstWithTheirShortcuts)
{
    QMenu* edit = frame->menuBar()->actions()[1]->menu();
    ASSERT_TRUE(edit);
    const QList<QAction*> items = edit->actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0], frame->actions().undo);
    EXPECT_EQ(items[0]->text(), QStringLiteral("元に戻す(&U)"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("やり直し(&R)"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("最後の線を描き直す(&L)"));
    EXPECT_EQ(items[2]->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
    EXPECT_TRUE(items[3]->isSeparator());
    EXPECT_EQ(items[4]->text(), QStringLiteral("塗りつぶし(&P)"));
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(items[1]->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
}

TEST_F(EditMenu, ThreeStrokesUndoneAndRedoneWithTheItemsGreyingAlong)
{
    EXPECT_FALSE(canUndo());
    EXPECT_FALSE(canRedo());
    const std::vector<uint32_t> blank = pixels();
    std::vector<std::vector<uint32_t>> after;
    for (int y : {40, 100, 160}) {
        drag(y);
        after.push_back(pixels());
        EXPECT_TRUE(canUndo());
        EXPECT_FALSE(canRedo());
    }
    ASSERT_NE(after[0], blank);
    for (int k = 2; k >= 0; --k) {
        frame->actions().undo->trigger();
        EXPECT_EQ(pixels(), k > 0 ? after[size_t(k - 1)] : blank) << k;
        EXPECT_TRUE(canRedo());
    }
    EXPECT_FALSE(canUndo());
    for (int k = 0; k < 3; ++k) {
        frame->actions().redo->trigger();
        EXPECT_EQ(pixels(), after[size_t(k)]) << k;
    }
    EXPECT_FALSE(canRedo());

    // Undoing New brings the old size back, and the canvas follows it.
    frame->document().workspace().replaceImage(ImagePtr(createImage(30, 20, 0, 0, 0)));
    EXPECT_EQ(frame->canvas()->size(), QSize(30, 20));
    frame->actions().undo->trigger();
    EXPECT_EQ(frame->canvas()->size(), QSize(200, 200));
    EXPECT_EQ(pixels(), after[2]);
    // The screen shows the restored picture.
    QCoreApplication::processEvents();
    const QImage shown = frame->canvas()->grab().toImage();
    EXPECT_EQ(shown.pixel(100, 100) & 0xFFFFFF, image().at(100, 100) & 0xFFFFFF);
}

}  // namespace
}  // namespace nelmora
