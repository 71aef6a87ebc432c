#include "app/canvas_window.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTabletEvent>

#include "app/document.h"
#include "app/tablet_reading.h"
#include "app/view_scale.h"
#include "platform/image_view.h"

namespace nelmora {

namespace {
// The stock gray of the frame's background, shown where the canvas has no image.
const QColor kBackground(128, 128, 128);
// One screen frame: changes are put on screen at most this often.
constexpr int kFrameMs = 16;

// A pen that reports no tilt leaves the angle as it was, `angleBefore`.
TabletReport reportOf(const QTabletEvent& event, int32_t angleBefore)
{
    const std::optional<int32_t> lean = leanAngle(event.xTilt(), event.yTilt());
    const QPointingDevice* device = event.pointingDevice();
    TabletReport report;
    report.device = device ? device->name() : QString();
    report.pointerType = device ? device->pointerType() : QPointingDevice::PointerType::Unknown;
    report.pressure = event.pressure();
    report.reading = {pressureValue(event.pressure()), lean.value_or(angleBefore)};
    report.tilted = lean.has_value();
    report.touching = event.buttons() != Qt::NoButton;
    return report;
}
}  // namespace

CanvasWindow::CanvasWindow(Document& document, QWidget* parent, StrokeOps ops)
    : QWidget(parent),
      workspace_(document.workspace()),
      stroke_(ops),
      work_(*this, workspace_, stroke_),
      flushPaced_(kFrameMs, [this] { flush(); })
{
    setObjectName(QStringLiteral("PCANVAS"));
    setWindowTitle(QStringLiteral("Canvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // A hovering pen reaches the tablet tester, and its position the status bar.
    setTabletTracking(true);
    fitToImage();
    connect(&document, &Document::imageReplaced, this, &CanvasWindow::fitToImage);
    connect(&document, &Document::pixelsChanged, this, &CanvasWindow::redraw);
    connect(&work_, &CanvasWork::busyChanged, this, &CanvasWindow::busyChanged);
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
    changed_ = QRect();
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

void CanvasWindow::showChanges()
{
    Image& image = workspace_.strokeImage();
    changed_ |= toQRect(image.update, image);
    clearUpdate(image.update);
    if (!changed_.isEmpty()) flushPaced_.request();
}

// The copy waits for the frame: a frame's events often change overlapping
// boxes, and each would otherwise be copied on its own.
void CanvasWindow::flush()
{
    if (work_.breathing()) {
        flushPaced_.request();  // shown once the engine is done with it
        return;
    }
    if (changed_.isEmpty()) return;
    display_.refresh(workspace_.strokeImage(), changed_);
    update(viewRect(changed_, zoom_));
    changed_ = QRect();
}

void CanvasWindow::strokeDown(QPoint p, std::optional<PenReading> reading)
{
    // Nothing is drawn at the start of a stroke, so nothing is shown.
    work_.run([this, p, reading] { stroke_.buttonDown(workspace_, p.x(), p.y(), reading); });
}

void CanvasWindow::strokeMove(QPoint p, std::optional<PenReading> reading)
{
    work_.run([this, p, reading] {
        if (stroke_.mouseMove(workspace_, p.x(), p.y(), reading)) showChanges();
    });
}

void CanvasWindow::strokeUp(QPoint p, std::optional<PenReading> reading)
{
    work_.run([this, p, reading] {
        // The end dabs and a delayed pen's whole replay are shown once, when
        // painted: the picture's changed box gathers them all, so they are
        // copied to the display once rather than segment by segment.
        stroke_.buttonUp(workspace_, p.x(), p.y(), [] {}, reading);
        showChanges();
    });
}

// The color creator follows the document's note.
void CanvasWindow::pickColorAt(QPoint p)
{
    work_.run([this, p] { workspace_.pickColor(p.x(), p.y()); });
}

bool CanvasWindow::ignoresMouse(const QMouseEvent& event) const
{
    if (tabletStroke_) return true;
    const QPointingDevice* device = event.pointingDevice();
    if (!device) return false;
    using Type = QInputDevice::DeviceType;
    return device->type() == Type::Stylus || device->type() == Type::Airbrush || device->type() == Type::Puck;
}

void CanvasWindow::mousePressEvent(QMouseEvent* event)
{
    if (ignoresMouse(*event)) return;
    const QPoint p = picturePixelAt(event->position());
    if (event->button() == Qt::LeftButton) {
        strokeDown(p);
    } else if (event->button() == Qt::RightButton) {
        pickColorAt(p);
    } else {
        event->ignore();
    }
}

void CanvasWindow::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = picturePixelAt(event->position());
    emit pointerMoved(p);
    if (!ignoresMouse(*event)) strokeMove(p);
}

void CanvasWindow::leaveEvent(QEvent*) { emit pointerLeft(); }

void CanvasWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (ignoresMouse(*event)) return;
    if (event->button() != Qt::LeftButton) return event->ignore();
    strokeUp(picturePixelAt(event->position()));
}

// The eraser and the side buttons act as the pen's tip does.
void CanvasWindow::tabletEvent(QTabletEvent* event)
{
    event->accept();  // Qt then makes no mouse events of it
    const QPoint p = picturePixelAt(event->position());
    const TabletReport report = reportOf(*event, workspace_.drawingValue(dv::penAngle));
    const PenReading reading = report.reading;
    emit tabletReported(report);
    switch (event->type()) {
    case QEvent::TabletPress:
        // Should a copy of the press that names a plain mouse have come first
        // and started the stroke, the pen carries that stroke on.
        if (!stroke_.stroking()) strokeDown(p, reading);
        tabletStroke_ = true;
        break;
    case QEvent::TabletMove:
        emit pointerMoved(p);
        if (tabletStroke_) strokeMove(p, reading);
        break;
    case QEvent::TabletRelease:
        // The stroke ends when the last of the tip and the buttons is let go.
        if (tabletStroke_ && event->buttons() == Qt::NoButton) {
            tabletStroke_ = false;
            strokeUp(p, reading);
        }
        break;
    default: break;
    }
}

bool CanvasWindow::repaintLastStroke()
{
    if (work_.running()) return false;
    bool repainted = false;
    work_.run([this, &repainted] {
        // Shown once, when painted, as a release is.
        repainted = stroke_.repaintLast(workspace_, [] {});
        showChanges();
    });
    return repainted;
}

}  // namespace nelmora
