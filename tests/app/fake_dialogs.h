#pragma once
// Answers the program's modal dialogs without a person and remembers what was asked.

#include <QDialog>
#include <QStringList>
#include <functional>

#include "platform/dialogs.h"

namespace nelmora {

class FakeDialogs : public Dialogs {
public:
    bool answerYes = false;
    QStringList questions;  // "caption|text"
    QStringList warnings;   // texts
    QString chosenFile;       // the file dialogs' answer; empty is a cancel
    QStringList fileFilters;  // the filters they were shown with
    QStringList fileFolders;  // the folders they opened in
    // Plays the user's part in a modal dialog; the dialog's result is returned.
    std::function<void(QDialog&)> fillIn;

    QString openFileName(QWidget*, const QString& filter, const QString& folder) override
    {
        fileFilters << filter;
        fileFolders << folder;
        return chosenFile;
    }
    QString saveFileName(QWidget*, const QString& filter, const QString& folder) override
    {
        fileFilters << filter;
        fileFolders << folder;
        return chosenFile;
    }
    bool askYesNo(QWidget*, const QString& caption, const QString& text) override
    {
        questions << caption + "|" + text;
        return answerYes;
    }
    void showWarning(QWidget*, const QString&, const QString& text) override { warnings << text; }
    int runModal(QDialog& dialog) override
    {
        if (fillIn) fillIn(dialog);
        return dialog.result();
    }
};

}  // namespace nelmora
