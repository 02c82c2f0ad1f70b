#pragma once
// TaskTimer on the Qt event loop. Tasks still waiting when this object goes are dropped.
#include "support/task_timer.h"

#include <QObject>
#include <QTimer>

namespace kv {

class QtTaskTimer : public TaskTimer {
public:
    void after(std::chrono::milliseconds delay, std::function<void()> task) override
    {
        QTimer::singleShot(delay, &context_, std::move(task));
    }

private:
    QObject context_;
};

} // namespace kv
