#pragma once
// The canvas: shows the current picture at the view's magnification and turns
// the mouse into strokes (left button) and color picks (right button). Mouse
// positions become whole picture pixels before they reach the stroke.

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "doc/canvas_stroke.h"
#include "platform/display_picture.h"

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
    int zoom() const { return zoom_; }
    // Resizes the canvas to the picture at `percent` and repaints it.
    void setZoom(int percent);
    // Copies the whole picture to the screen again (View > Redraw).
    void redraw();
    // The picture pixel under a canvas position.
    QPoint picturePixelAt(QPointF position) const;
    // Puts on screen what the engine changed since the last showing (the
    // picture's changed box), at the next screen frame at the latest.
    void showChanges();

signals:
    // The picture pixel under the pointer, whenever it moves over the canvas.
    void pointerMoved(QPoint picturePixel);
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Copies what the engine changed to the display picture.
    void takeChanges();
    void flush();
    void fitToImage();

    Workspace& workspace_;
    CanvasStroke stroke_;
    DisplayPicture display_;
    int zoom_ = 100;
    QRect pending_;  // canvas pixels changed since the last flush
    QTimer frameTimer_;
    QElapsedTimer sinceFlush_;
};

}  // namespace nelmora
