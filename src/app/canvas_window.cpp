#include "app/canvas_window.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include "platform/image_view.h"
#include "platform/invalidate.h"

namespace nelmora {

namespace {
// The stock gray of the frame's background, shown where the canvas has no image.
const QColor kBackground(128, 128, 128);

// Plain ints, no 16-bit folding: while the button is held Qt keeps sending
// positions outside the widget, negative or beyond its size, unchanged.
QPoint pixelAt(const QMouseEvent* event)
{
    const QPointF p = event->position();
    return {qFloor(p.x()), qFloor(p.y())};
}
}  // namespace

CanvasWindow::CanvasWindow(AppState& state, QWidget* parent, StrokeOps ops)
    : QWidget(parent), state_(state), stroke_(ops)
{
    setObjectName(QStringLiteral("PCANVAS"));
    setWindowTitle(QStringLiteral("Canvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    const Image* image = state_.currentImage;
    resize(image ? image->width : 200, image ? image->height : 200);
}

void CanvasWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    Image* image = state_.currentImage;
    const QRect imageRect = image ? QRect(0, 0, image->width, image->height) : QRect();
    if (!imageRect.contains(event->rect())) painter.fillRect(event->rect(), kBackground);
    if (!image) return;
    paintImage(painter, *image, event->rect());
    // Whatever the engine changed is on screen now.
    clearUpdate(image->update);
}

void CanvasWindow::showChanges()
{
    Image* image = state_.currentImage;
    showImageChanges(*this, *image);
    clearUpdate(image->update);
}

void CanvasWindow::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = pixelAt(event);
    if (event->button() == Qt::LeftButton) {
        // Nothing is drawn at the start of a stroke, so nothing is shown.
        stroke_.buttonDown(state_, p.x(), p.y());
    } else if (event->button() == Qt::RightButton) {
        if (pickColour(state_, p.x(), p.y())) invalidateWithChildren(colorWindow_);
    }
}

void CanvasWindow::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = pixelAt(event);
    if (stroke_.mouseMove(state_, p.x(), p.y())) showChanges();
}

void CanvasWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = pixelAt(event);
    stroke_.buttonUp(state_, p.x(), p.y(), [this] { showChanges(); });
}

}  // namespace nelmora
