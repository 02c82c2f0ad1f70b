#pragma once
// IntervalTimer on a QTimer of the thread that creates it.
#include "platform/interval_timer.h"

#include <QTimer>
#include <chrono>
#include <functional>

namespace kv {

class QtIntervalTimer : public IntervalTimer {
public:
    explicit QtIntervalTimer(std::chrono::milliseconds interval);
    void onTick(std::function<void()> tick);
    void setEnabled(bool enabled) override;
    bool enabled() const { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace kv
