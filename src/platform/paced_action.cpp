#include "platform/paced_action.h"

namespace nelmora {

PacedAction::PacedAction(int intervalMs, std::function<void()> action)
    : intervalMs_(intervalMs), action_(std::move(action))
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { run(); });
}

void PacedAction::request()
{
    if (timer_.isActive()) return;
    const qint64 since = sinceRun_.isValid() ? sinceRun_.elapsed() : intervalMs_;
    if (since >= intervalMs_)
        run();
    else
        timer_.start(int(intervalMs_ - since));
}

void PacedAction::run()
{
    sinceRun_.start();
    action_();
}

}  // namespace nelmora
