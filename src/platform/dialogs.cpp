#include "platform/dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace nelmora {

namespace {
Dialogs realDialogs;
Dialogs* current = &realDialogs;
}  // namespace

// Qt's own dialog matches filter patterns in any letter case (".bmp", ".BMP");
// some native dialogs match only the case written, so they are not used.
QString Dialogs::openFileName(QWidget* owner, const QString& filter, const QString& folder)
{
    return QFileDialog::getOpenFileName(owner, QString(), folder, filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

QString Dialogs::saveFileName(QWidget* owner, const QString& filter, const QString& folder)
{
    // No extension is added: the name is used exactly as chosen.
    return QFileDialog::getSaveFileName(owner, QString(), folder, filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

bool Dialogs::askYesNo(QWidget* owner, const QString& caption, const QString& text)
{
    return QMessageBox::question(owner, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void Dialogs::showWarning(QWidget* owner, const QString& caption, const QString& text)
{
    QMessageBox::warning(owner, caption, text);
}

int Dialogs::runModal(QDialog& dialog) { return dialog.exec(); }

Dialogs& dialogs() { return *current; }

void setDialogs(Dialogs* replacement) { current = replacement ? replacement : &realDialogs; }

}  // namespace nelmora
