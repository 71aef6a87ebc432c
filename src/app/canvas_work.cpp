#include "app/canvas_work.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace nelmora {

namespace {

// How often running work lets Qt repaint and take input: a screen frame.
constexpr qint64 kBreathMs = 16;

// Thrown from the engine's report when Esc asked for it: the stroke call
// unwinds half painted and the stroke is taken back from its press.
struct StrokeCancelled {};

bool isPointerInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease: case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: case QEvent::Wheel: case QEvent::ContextMenu: case QEvent::TabletPress:
    case QEvent::TabletMove: case QEvent::TabletRelease: case QEvent::TouchBegin: case QEvent::TouchUpdate:
    case QEvent::TouchEnd: case QEvent::DragEnter: case QEvent::DragMove: case QEvent::Drop:
        return true;
    default: return false;
    }
}

bool isKeyInput(QEvent::Type type)
{
    return type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride ||
           type == QEvent::Shortcut;
}

bool isEscapePress(QEvent* event)
{
    return event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

}  // namespace

CanvasWork::CanvasWork(QWidget& canvas, Workspace& workspace, CanvasStroke& stroke)
    : canvas_(canvas), workspace_(workspace), stroke_(stroke)
{
    QCoreApplication::instance()->installEventFilter(this);
}

CanvasWork::~CanvasWork() { QCoreApplication::instance()->removeEventFilter(this); }

void CanvasWork::run(std::function<void()> call)
{
    if (running_) {
        queue_.push_back(std::move(call));
        return;
    }
    running_ = true;
    Image& image = workspace_.strokeImage();
    image.whilePainting = whilePainting;
    image.paintingListener = this;
    runOne(call);
    while (!queue_.empty()) {
        const std::function<void()> next = std::move(queue_.front());
        queue_.pop_front();
        runOne(next);
    }
    image.whilePainting = nullptr;
    image.paintingListener = nullptr;
    running_ = false;
    if (busyShown_) showBusy(false);
    if (closeAfterwards_) QTimer::singleShot(0, closeAfterwards_.data(), &QWidget::close);
    closeAfterwards_ = nullptr;
}

void CanvasWork::runOne(const std::function<void()>& call)
{
    clock_.start();
    nextBreath_ = std::min<qint64>(kBreathMs, busyThresholdMs_);
    try {
        call();
    } catch (const StrokeCancelled&) {
        cancelRequested_ = false;
        stroke_.cancel(workspace_, true);
        return;
    }
    // Esc after the engine's last report: the stroke, if still under way, goes now.
    if (std::exchange(cancelRequested_, false)) stroke_.cancel(workspace_);
}

void CanvasWork::cancelStroke()
{
    if (running_)
        cancelRequested_ = true;
    else
        stroke_.cancel(workspace_);
}

void CanvasWork::whilePainting(void* work) { static_cast<CanvasWork*>(work)->breathe(); }

void CanvasWork::breathe()
{
    const qint64 now = clock_.elapsed();
    if (now < nextBreath_) return;
    nextBreath_ = now + kBreathMs;
    if (!busyShown_ && now >= busyThresholdMs_) showBusy(true);
    {
        const QScopedValueRollback<bool> during(breathing_, true);
        QCoreApplication::processEvents();
    }
    if (cancelRequested_) throw StrokeCancelled{};
}

void CanvasWork::showBusy(bool busy)
{
    busyShown_ = busy;
    if (busy) {
        // A cursor the canvas set itself comes back afterwards.
        cursorBefore_.reset();
        if (canvas_.testAttribute(Qt::WA_SetCursor)) cursorBefore_ = canvas_.cursor();
        canvas_.setCursor(Qt::BusyCursor);
    } else if (cursorBefore_) {
        canvas_.setCursor(*cursorBefore_);
    } else {
        canvas_.unsetCursor();
    }
    emit busyChanged(busy);
}

bool CanvasWork::eventFilter(QObject* receiver, QEvent* event)
{
    if (isEscapePress(event) && (running_ || stroke_.stroking())) {
        cancelStroke();
        return true;
    }
    return running_ && refusedWhileRunning(receiver, event);
}

// Input reaches windows first and widgets after, so only what a widget other
// than the canvas would get is refused; the canvas queues its own.
bool CanvasWork::refusedWhileRunning(QObject* receiver, QEvent* event)
{
    if (event->type() == QEvent::Close && receiver == canvas_.window()) {
        // Closing while a dab is half done would pull the canvas from under it.
        event->ignore();
        closeAfterwards_ = canvas_.window();
        cancelRequested_ = true;
        return true;
    }
    if (isKeyInput(event->type())) return true;
    if (!isPointerInput(event->type()) || !receiver->isWidgetType()) return false;
    return receiver != &canvas_;
}

}  // namespace nelmora
