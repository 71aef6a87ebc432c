// Qt's standard dialogs speak Japanese once its translation is installed; our own texts stay as written.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

#include "app/main_frame.h"
#include "platform/dialogs.h"
#include "platform/qt_translation.h"

namespace nelmora {
namespace {

TEST(QtJapanese, TheExitConfirmationAnswersWithHai)
{
    QTranslator* translator = installQtJapanese();
    ASSERT_NE(translator, nullptr) << "qtbase_ja.qm (qt6-translations-l10n) is not installed";
    setDialogs(nullptr);  // the real message box
    MainFrame frame;
    frame.show();

    QString caption, text, yes, no;
    // Plays the user: reads the real message box once it is up, then presses "はい".
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        yes = box->button(QMessageBox::Yes)->text();
        no = box->button(QMessageBox::No)->text();
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(frame.close());
    EXPECT_TRUE(yes.startsWith(QStringLiteral("はい"))) << yes.toStdString();
    EXPECT_TRUE(no.startsWith(QStringLiteral("いいえ"))) << no.toStdString();
    EXPECT_EQ(caption, QStringLiteral("終了確認"));
    EXPECT_EQ(text, QStringLiteral("終了してもよいですか"));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

}  // namespace
}  // namespace nelmora
