#pragma once
// Modal dialogs behind a seam: the program shows real ones, tests install a
// stand-in that answers without a person.

#include <QString>

class QDialog;
class QWidget;

namespace nelmora {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Empty when cancelled. The dialogs open in `folder` (the working folder when empty).
    virtual QString openFileName(QWidget* owner, const QString& filter, const QString& folder);
    virtual QString saveFileName(QWidget* owner, const QString& filter, const QString& folder);
    virtual bool askYesNo(QWidget* owner, const QString& caption, const QString& text);
    virtual void showWarning(QWidget* owner, const QString& caption, const QString& text);
    // Runs a dialog modally and returns its result code.
    virtual int runModal(QDialog& dialog);
};

Dialogs& dialogs();
// Installs a replacement (not owned); null restores the real dialogs.
void setDialogs(Dialogs* replacement);

}  // namespace nelmora
