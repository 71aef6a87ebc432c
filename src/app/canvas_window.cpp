#include "app/canvas_window.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include "app/document.h"
#include "platform/image_view.h"

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

CanvasWindow::CanvasWindow(Document& document, QWidget* parent, StrokeOps ops)
    : QWidget(parent), workspace_(document.workspace()), stroke_(ops)
{
    setObjectName(QStringLiteral("PCANVAS"));
    setWindowTitle(QStringLiteral("Canvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    fitToImage();
    connect(&document, &Document::imageReplaced, this, &CanvasWindow::fitToImage);
    connect(&document, &Document::pixelsChanged, this, qOverload<>(&QWidget::update));
}

void CanvasWindow::fitToImage()
{
    const Image& image = workspace_.image();
    resize(image.width, image.height);
    update();
}

void CanvasWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    Image& image = workspace_.strokeImage();
    const QRect imageRect(0, 0, image.width, image.height);
    if (!imageRect.contains(event->rect())) painter.fillRect(event->rect(), kBackground);
    paintImage(painter, image, event->rect());
    // Whatever the engine changed is on screen now.
    clearUpdate(image.update);
}

void CanvasWindow::showChanges()
{
    Image& image = workspace_.strokeImage();
    showImageChanges(*this, image);
    clearUpdate(image.update);
}

void CanvasWindow::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = pixelAt(event);
    if (event->button() == Qt::LeftButton) {
        // Nothing is drawn at the start of a stroke, so nothing is shown.
        stroke_.buttonDown(workspace_, p.x(), p.y());
    } else if (event->button() == Qt::RightButton) {
        // The color creator follows the document's note.
        workspace_.pickColor(p.x(), p.y());
    }
}

void CanvasWindow::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = pixelAt(event);
    if (stroke_.mouseMove(workspace_, p.x(), p.y())) showChanges();
}

void CanvasWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = pixelAt(event);
    stroke_.buttonUp(workspace_, p.x(), p.y(), [this] { showChanges(); });
}

}  // namespace nelmora

namespace nelmora {

bool CanvasWindow::repaintLastStroke()
{
    return stroke_.repaintLast(workspace_, [this] { showChanges(); });
}

}  // namespace nelmora
