#pragma once
// The main frame's client area: the canvas in a scroll area on the stock gray,
// with scroll bars when the picture at the current magnification is larger
// than the frame. The wheel scrolls (Shift: sideways), Ctrl + wheel zooms
// about the pointer; the middle button or Space + left button drags the view.

#include <QPoint>
#include <QScrollArea>

namespace nelmora {

class CanvasWindow;

class CanvasView : public QScrollArea {
    Q_OBJECT
public:
    explicit CanvasView(QWidget* parent);

    // Takes the canvas as the scrolled widget.
    void setCanvas(CanvasWindow* canvas);
    int zoom() const;

public slots:
    // Zooms keeping the picture point under view position `anchor` in place.
    void zoomTo(int percent, QPoint anchor);
    // Zooms about the middle of the view.
    void zoomTo(int percent);
    void zoomIn();
    void zoomOut();

signals:
    void zoomChanged(int percent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool panEvent(QEvent* event);

    CanvasWindow* canvas_ = nullptr;
    bool spaceHeld_ = false;
    bool panning_ = false;
    QPoint panFrom_;       // global pointer position where the drag started
    QPoint scrollFrom_;    // scroll bar values then
};

}  // namespace nelmora
