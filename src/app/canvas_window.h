#pragma once
// The canvas: shows the current picture at the view's magnification and turns
// the mouse into strokes (left button) and color picks (right button), and a
// tablet pen into strokes that also carry its pressure and angle. Positions
// become whole picture pixels before they reach the stroke.

#include <QPointingDevice>
#include <QString>
#include <QWidget>
#include <optional>

#include "app/canvas_work.h"
#include "doc/canvas_stroke.h"
#include "platform/display_picture.h"
#include "platform/paced_action.h"

namespace nelmora {

class Document;

// What the last tablet event said, for the tablet tester.
struct TabletReport {
    QString device;  // the device's name
    QPointingDevice::PointerType pointerType = QPointingDevice::PointerType::Unknown;
    double pressure = 0;    // 0..1, as the device gave it
    PenReading reading{};   // as a stroke gets it; the angle kept when there is no tilt
    bool tilted = false;    // the device reported a tilt
    bool touching = false;  // the tip or a button is down
};

class CanvasWindow : public QWidget {
    Q_OBJECT
public:
    // Follows the document's picture: a new one resizes the canvas.
    CanvasWindow(Document& document, QWidget* parent, StrokeOps ops = engineStrokeOps());

    const CanvasStroke& stroke() const { return stroke_; }
    CanvasStroke& stroke() { return stroke_; }
    // Edit > Repaint the last stroke; false when there is none to repaint or
    // other work is running.
    bool repaintLastStroke();
    CanvasWork& work() { return work_; }
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
    // Every tablet event over the canvas, touching or hovering.
    void tabletReported(const TabletReport& report);
    // Mouse work ran past the busy threshold (true) and ended (false).
    void busyChanged(bool busy);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The stroke's press, move and release, for the mouse's left button and
    // the tablet's pen alike; the tablet adds its reading. They and a color
    // pick run in order, behind any work still running.
    void strokeDown(QPoint p, std::optional<PenReading> reading = {});
    void strokeMove(QPoint p, std::optional<PenReading> reading = {});
    void strokeUp(QPoint p, std::optional<PenReading> reading = {});
    void pickColorAt(QPoint p);
    // Mouse events the tablet's pen caused, or any while the pen strokes:
    // the tablet's own events drive the stroke, once.
    bool ignoresMouse(const QMouseEvent& event) const;
    // Copies the changes to the display picture and schedules their repaint.
    void flush();
    void fitToImage();

    Workspace& workspace_;
    CanvasStroke stroke_;
    CanvasWork work_;
    DisplayPicture display_;
    int zoom_ = 100;
    QRect changed_;  // picture pixels changed since the last flush
    PacedAction flushPaced_;  // at most once per screen frame
    bool tabletStroke_ = false;  // from the pen's press to its release
};

}  // namespace nelmora
