#pragma once
// A TaskTimer for tests without an event loop: tasks wait until the test runs the ones whose
// time has come, in the order of their times and then of their posting.
#include "support/task_timer.h"

#include <chrono>
#include <map>
#include <utility>

namespace kv::test {

class ManualTaskTimer : public TaskTimer {
public:
    using Clock = std::chrono::steady_clock;

    void after(std::chrono::milliseconds delay, std::function<void()> task) override
    {
        tasks_.emplace(std::make_pair(Clock::now() + delay, next_++), std::move(task));
    }

    // Runs every task that is due, including those that due tasks post for now; true when any ran.
    bool runDue()
    {
        bool ran = false;
        while (!tasks_.empty() && tasks_.begin()->first.first <= Clock::now()) {
            auto task = std::move(tasks_.begin()->second);
            tasks_.erase(tasks_.begin());
            task();
            ran = true;
        }
        return ran;
    }
    std::size_t waiting() const { return tasks_.size(); }

private:
    std::map<std::pair<Clock::time_point, unsigned long>, std::function<void()>> tasks_;
    unsigned long next_ = 0;
};

} // namespace kv::test
