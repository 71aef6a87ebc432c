#pragma once
// Runs the canvas's mouse work — stroke calls and picks — one at a time and in
// order, while the program stays usable. The engine reports while it paints;
// every frame or so the work lets Qt repaint and take input. Pointer input to
// the canvas is queued behind the running work; Esc cancels the stroke under
// way; any other input that could change the document is refused until the
// work ends, and closing the canvas's window cancels the stroke first. Work
// that runs past the busy threshold shows the busy indicator until it ends.

#include <QCursor>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <optional>

#include "doc/canvas_stroke.h"

class QWidget;

namespace nelmora {

inline constexpr int kBusyThresholdMs = 200;

class CanvasWork : public QObject {
    Q_OBJECT
public:
    CanvasWork(QWidget& canvas, Workspace& workspace, CanvasStroke& stroke);
    ~CanvasWork() override;

    // Runs `call` now, or after the running work and what is queued before it.
    void run(std::function<void()> call);
    bool running() const { return running_; }
    // Qt is handling events from inside the engine: the picture is half painted.
    bool breathing() const { return breathing_; }
    // Tests show the indicator at once (0 ms).
    void setBusyThreshold(int ms) { busyThresholdMs_ = ms; }
    // Esc: at once between calls, else as soon as the engine reports.
    void cancelStroke();

signals:
    void busyChanged(bool busy);

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    static void whilePainting(void* work);
    void breathe();
    void runOne(const std::function<void()>& call);
    void showBusy(bool busy);
    bool refusedWhileRunning(QObject* receiver, QEvent* event);

    QWidget& canvas_;
    Workspace& workspace_;
    CanvasStroke& stroke_;
    std::deque<std::function<void()>> queue_;
    bool running_ = false;
    bool breathing_ = false;
    bool cancelRequested_ = false;
    bool busyShown_ = false;
    int busyThresholdMs_ = kBusyThresholdMs;
    QElapsedTimer clock_;  // since the running call started
    qint64 nextBreath_ = 0;
    QPointer<QWidget> closeAfterwards_;
    std::optional<QCursor> cursorBefore_;
};

}  // namespace nelmora
