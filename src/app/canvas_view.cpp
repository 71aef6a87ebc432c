#include "app/canvas_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/canvas_window.h"
#include "app/view_scale.h"

namespace nelmora {

CanvasView::CanvasView(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("CanvasView"));
    setFrameShape(QFrame::NoFrame);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidgetResizable(false);
    // The stock gray around the picture, as the client area has always shown.
    QPalette gray = palette();
    gray.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(gray);
    setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    viewport()->setPalette(gray);
}

void CanvasView::setCanvas(CanvasWindow* canvas)
{
    canvas_ = canvas;
    setWidget(canvas);
    canvas->installEventFilter(this);
    viewport()->installEventFilter(this);
}

int CanvasView::zoom() const { return canvas_ ? canvas_->zoom() : kDefaultZoom; }

void CanvasView::zoomTo(int percent, QPoint anchor)
{
    if (!canvas_ || percent == zoom()) return;
    // The picture point under the anchor, in picture pixels as a real number.
    const double old = zoom();
    const QPointF picture((horizontalScrollBar()->value() + anchor.x()) * 100.0 / old,
                          (verticalScrollBar()->value() + anchor.y()) * 100.0 / old);
    canvas_->setZoom(percent);
    horizontalScrollBar()->setValue(int(picture.x() * percent / 100.0) - anchor.x());
    verticalScrollBar()->setValue(int(picture.y() * percent / 100.0) - anchor.y());
    emit zoomChanged(percent);
}

void CanvasView::zoomTo(int percent) { zoomTo(percent, viewport()->rect().center()); }
void CanvasView::zoomIn() { zoomTo(nextZoom(zoom())); }
void CanvasView::zoomOut() { zoomTo(previousZoom(zoom())); }

bool CanvasView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == canvas_ || watched == viewport()) {
        if (event->type() == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const int notches = wheel->angleDelta().y() / 120;
            if (wheel->modifiers() & Qt::ControlModifier) {
                if (notches != 0) {
                    const QPoint anchor = viewport()->mapFromGlobal(wheel->globalPosition().toPoint());
                    zoomTo(notches > 0 ? nextZoom(zoom()) : previousZoom(zoom()), anchor);
                }
                return true;
            }
            if (wheel->modifiers() & Qt::ShiftModifier) {
                // Shift turns the wheel's steps sideways.
                QScrollBar* bar = horizontalScrollBar();
                const int delta = wheel->angleDelta().y() != 0 ? wheel->angleDelta().y() : wheel->angleDelta().x();
                bar->setValue(bar->value() - delta * bar->singleStep() * 3 / 120);
                return true;
            }
        }
        if (panEvent(event)) return true;
    }
    return QScrollArea::eventFilter(watched, event);
}

// Middle-button and Space + left-button drags move the view; they never paint.
bool CanvasView::panEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Space || key->isAutoRepeat()) return false;
        spaceHeld_ = event->type() == QEvent::KeyPress;
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool pan = mouse->button() == Qt::MiddleButton || (mouse->button() == Qt::LeftButton && spaceHeld_);
        if (!pan || (canvas_ && canvas_->stroke().stroking())) return false;
        panning_ = true;
        panFrom_ = mouse->globalPosition().toPoint();
        scrollFrom_ = {horizontalScrollBar()->value(), verticalScrollBar()->value()};
        return true;
    }
    case QEvent::MouseMove: {
        if (!panning_) return false;
        const QPoint moved = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - panFrom_;
        horizontalScrollBar()->setValue(scrollFrom_.x() - moved.x());
        verticalScrollBar()->setValue(scrollFrom_.y() - moved.y());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (!panning_) return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::MiddleButton || mouse->button() == Qt::LeftButton) panning_ = false;
        return true;
    }
    default: return false;
    }
}

}  // namespace nelmora
