#include "app/canvas_window.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/document.h"
#include "app/view_scale.h"
#include "platform/image_view.h"

namespace nelmora {

namespace {
// The stock gray of the frame's background, shown where the canvas has no image.
const QColor kBackground(128, 128, 128);
// One screen frame: changes are put on screen at most this often.
constexpr int kFrameMs = 16;
}  // namespace

CanvasWindow::CanvasWindow(Document& document, QWidget* parent, StrokeOps ops)
    : QWidget(parent), workspace_(document.workspace()), stroke_(ops)
{
    setObjectName(QStringLiteral("PCANVAS"));
    setWindowTitle(QStringLiteral("Canvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    frameTimer_.setSingleShot(true);
    connect(&frameTimer_, &QTimer::timeout, this, &CanvasWindow::flush);
    fitToImage();
    connect(&document, &Document::imageReplaced, this, &CanvasWindow::fitToImage);
    connect(&document, &Document::pixelsChanged, this, &CanvasWindow::redraw);
}

void CanvasWindow::fitToImage()
{
    const Image& image = workspace_.image();
    resize(int(viewLength(image.width, zoom_)), int(viewLength(image.height, zoom_)));
    redraw();
}

void CanvasWindow::setZoom(int percent)
{
    zoom_ = percent;
    fitToImage();
}

void CanvasWindow::redraw()
{
    Image& image = workspace_.strokeImage();
    display_.rebuild(image);
    clearUpdate(image.update);
    pending_ = QRect();
    update();
}

QPoint CanvasWindow::picturePixelAt(QPointF position) const
{
    return {pictureCoordinate(position.x(), zoom_), pictureCoordinate(position.y(), zoom_)};
}

void CanvasWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const Image& image = workspace_.image();
    // A magnified canvas is far larger than the view: paint only what shows.
    const QRect exposed = event->rect().intersected(visibleRegion().boundingRect());
    const QRect pictureRect(0, 0, int(viewLength(image.width, zoom_)), int(viewLength(image.height, zoom_)));
    if (!pictureRect.contains(exposed)) painter.fillRect(exposed, kBackground);
    display_.paint(painter, exposed, zoom_);
}

void CanvasWindow::takeChanges()
{
    Image& image = workspace_.strokeImage();
    const QRect changed = toQRect(image.update, image);
    clearUpdate(image.update);
    if (changed.isEmpty()) return;
    display_.refresh(image, changed);
    pending_ |= QRect(QPoint(int(viewStart(changed.left(), zoom_)), int(viewStart(changed.top(), zoom_))),
                      QPoint(int(viewEnd(changed.right() + 1, zoom_)) - 1, int(viewEnd(changed.bottom() + 1, zoom_)) - 1));
}

void CanvasWindow::showChanges()
{
    takeChanges();
    if (pending_.isEmpty() || frameTimer_.isActive()) return;
    const qint64 since = sinceFlush_.isValid() ? sinceFlush_.elapsed() : kFrameMs;
    if (since >= kFrameMs)
        flush();
    else
        frameTimer_.start(int(kFrameMs - since));
}

void CanvasWindow::flush()
{
    if (!pending_.isEmpty()) update(pending_);
    pending_ = QRect();
    sinceFlush_.start();
}

void CanvasWindow::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = picturePixelAt(event->position());
    if (event->button() == Qt::LeftButton) {
        // Nothing is drawn at the start of a stroke, so nothing is shown.
        stroke_.buttonDown(workspace_, p.x(), p.y());
    } else if (event->button() == Qt::RightButton) {
        // The color creator follows the document's note.
        workspace_.pickColor(p.x(), p.y());
    } else {
        event->ignore();
    }
}

void CanvasWindow::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = picturePixelAt(event->position());
    emit pointerMoved(p);
    if (stroke_.mouseMove(workspace_, p.x(), p.y())) showChanges();
}

void CanvasWindow::leaveEvent(QEvent*) { emit pointerLeft(); }

void CanvasWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return event->ignore();
    const QPoint p = picturePixelAt(event->position());
    // The end dabs and a delayed pen's whole replay are shown once, when
    // painted: the picture's changed box gathers them all, so they are copied
    // to the display once rather than segment by segment.
    stroke_.buttonUp(workspace_, p.x(), p.y(), [] {});
    showChanges();
}

bool CanvasWindow::repaintLastStroke()
{
    // Shown once, when painted, as a release is.
    const bool repainted = stroke_.repaintLast(workspace_, [] {});
    showChanges();
    return repainted;
}

}  // namespace nelmora
