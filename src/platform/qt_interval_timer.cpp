#include "platform/qt_interval_timer.h"

namespace kv {

QtIntervalTimer::QtIntervalTimer(std::chrono::milliseconds interval)
{
    timer_.setInterval(interval);
}

void QtIntervalTimer::onTick(std::function<void()> tick)
{
    QObject::connect(&timer_, &QTimer::timeout, std::move(tick));
}

void QtIntervalTimer::setEnabled(bool enabled)
{
    if (enabled && !timer_.isActive())
        timer_.start();
    else if (!enabled)
        timer_.stop();
}

} // namespace kv
