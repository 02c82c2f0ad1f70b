#pragma once
// A timer of the user-interface thread that ticks at a fixed interval while enabled; its
// owner says what a tick does.
namespace kv {

class IntervalTimer {
public:
    virtual ~IntervalTimer() = default;
    virtual void setEnabled(bool enabled) = 0;
};

} // namespace kv
