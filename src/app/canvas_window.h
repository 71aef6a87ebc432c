#pragma once
// The canvas: shows the current image one-to-one and turns the mouse into
// strokes (left button) and colour picks (right button).

#include <QWidget>

#include "app/canvas_stroke.h"

namespace nelmora {

class CanvasWindow : public QWidget {
    Q_OBJECT
public:
    CanvasWindow(AppState& state, QWidget* parent, StrokeOps ops = engineStrokeOps());

    // The window a colour pick repaints (the colour creator).
    void setColorWindow(QWidget* window) { colorWindow_ = window; }
    const CanvasStroke& stroke() const { return stroke_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Puts what the engine changed on screen at once, inside the mouse event.
    void showChanges();

    AppState& state_;
    CanvasStroke stroke_;
    QWidget* colorWindow_ = nullptr;
};

}  // namespace nelmora
