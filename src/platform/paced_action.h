#pragma once
// An action run at most once per interval: at once when the interval has
// passed since it last ran, else when it has. Requests in between merge into
// that one run, so the screen is not redrawn faster than it is looked at.

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace nelmora {

class PacedAction {
public:
    PacedAction(int intervalMs, std::function<void()> action);

    void request();
    // Forgets a request not yet run.
    void cancel() { timer_.stop(); }

private:
    void run();

    int intervalMs_;
    std::function<void()> action_;
    QTimer timer_;
    QElapsedTimer sinceRun_;
};

}  // namespace nelmora
