#pragma once
// The canvas: shows the current image one-to-one and turns the mouse into
// strokes (left button) and color picks (right button).

#include <QWidget>

#include "doc/canvas_stroke.h"

namespace nelmora {

class Document;

class CanvasWindow : public QWidget {
    Q_OBJECT
public:
    // Follows the document's picture: a new one resizes the canvas.
    CanvasWindow(Document& document, QWidget* parent, StrokeOps ops = engineStrokeOps());

    const CanvasStroke& stroke() const { return stroke_; }
    CanvasStroke& stroke() { return stroke_; }
    // Edit > Repaint the last stroke; false when there is none to repaint.
    bool repaintLastStroke();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Puts what the engine changed on screen at once, inside the mouse event.
    void showChanges();

    void fitToImage();

    Workspace& workspace_;
    CanvasStroke stroke_;
};

}  // namespace nelmora
