#pragma once
// The main frame's status bar: where the pointer is on the picture, the
// magnification, the pen file last loaded or saved, which pen the pen set and
// the pen creator edit, and how each pen paints, so a painting pen 1 is
// never unnoticed.

#include <QStatusBar>

#include "platform/paced_action.h"

class QLabel;

namespace nelmora {

class Document;

class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    StatusBar(Document& document, QWidget* parent);

    QLabel* pointerLabel() const { return pointer_; }
    QLabel* magnificationLabel() const { return magnification_; }
    QLabel* penFileLabel() const { return penFile_; }
    QLabel* editedPenLabel() const { return editedPen_; }
    QLabel* drawModesLabel() const { return drawModes_; }

public slots:
    // A position in image pixels, as the canvas reports it: shown at most ten
    // times a second (the last one always), since redrawing the label costs
    // more than painting the stroke that moved it.
    void showPointer(QPoint imagePixel);
    void clearPointer();
    // The view's magnification, as it reports a change.
    void setMagnification(int percent);
    // While the canvas's work runs long: what is going on and how to stop it.
    void showBusy(bool busy);

private:
    void showPendingPointer();
    void showPenFile();
    void showEditedPen(int pen);
    void showDrawModes();

    Document& document_;
    QLabel* pointer_;
    QLabel* magnification_;
    QLabel* penFile_;
    QLabel* editedPen_;
    QLabel* drawModes_;
    QPoint pointerAt_;
    PacedAction showPointerPaced_;
};

}  // namespace nelmora
