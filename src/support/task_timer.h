#pragma once
// Runs a task later on the thread that drives the program's events (the Qt loop in the
// program, a loop of their own in tests). A delay of zero runs it after what is running now.
#include <chrono>
#include <functional>

namespace kv {

class TaskTimer {
public:
    virtual ~TaskTimer() = default;
    virtual void after(std::chrono::milliseconds delay, std::function<void()> task) = 0;
};

} // namespace kv
