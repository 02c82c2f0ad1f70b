#pragma once
// The user-interface thread of a test: tasks posted from any thread wait in a queue until the
// test runs them on its own thread, one at a time, as the program's event loop would.
#include "platform/gui_thread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace kv::test {

class TestGuiThread : public GuiThread {
public:
    void post(std::function<void()> task) override
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        posted_.notify_all();
    }

    // Runs tasks until done() holds; false when the timeout passed first.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds timeout = std::chrono::seconds(30))
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            std::function<void()> task;
            {
                std::unique_lock lock(mutex_);
                if (!posted_.wait_until(lock, deadline, [this] { return !tasks_.empty(); }))
                    return false;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
        return true;
    }

    // Runs what is queued now, and what those tasks queue in turn.
    void runPending()
    {
        runUntil([this] {
            std::lock_guard lock(mutex_);
            return tasks_.empty();
        });
    }

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};

} // namespace kv::test
