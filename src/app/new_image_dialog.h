#pragma once
// "MYDIALOG_NEW": width, height and background of a new current image.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace nelmora {

class Workspace;

class NewImageDialog : public QDialog {
    Q_OBJECT
public:
    NewImageDialog(Workspace& workspace, QWidget* owner);

    QLineEdit* widthEdit() const { return widthEdit_; }
    QLineEdit* heightEdit() const { return heightEdit_; }
    QComboBox* backgroundBox() const { return backgroundBox_; }
    QPushButton* okButton() const { return okButton_; }

    // The combo box entry OK uses: the selected one while its text stands
    // unchanged, else the entry whose text was typed exactly, else -1.
    int backgroundSelection() const;

public slots:
    // Makes the new current image; a size that cannot be made is reported and
    // the dialog stays open with the old image still current.
    void accept() override;

private:
    // Dialog units to pixels, from the dialog font's average character size.
    QRect dialogRect(int x, int y, int width, int height) const;

    Workspace& workspace_;
    int baseWidth_ = 6;
    int baseHeight_ = 12;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QComboBox* backgroundBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace nelmora
