#pragma once
// IntervalTimer on a QTimer.
#include "platform/interval_timer.h"

#include <QTimer>
#include <chrono>
#include <functional>

namespace kv {

class QtIntervalTimer : public IntervalTimer {
public:
    QtIntervalTimer(std::chrono::milliseconds interval, std::function<void()> tick);
    void setEnabled(bool enabled) override;
    bool enabled() const { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace kv
