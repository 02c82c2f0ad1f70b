#pragma once
// The user-interface thread's queue: work handed over from any thread runs there later,
// in the order posted.
#include <functional>

namespace kv {

class GuiThread {
public:
    virtual ~GuiThread() = default;
    // Safe to call from any thread.
    virtual void post(std::function<void()> task) = 0;
};

} // namespace kv
