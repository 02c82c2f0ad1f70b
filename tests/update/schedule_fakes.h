#pragma once
// Scripted collaborators of the update schedule: its timer, the check it starts and the
// connection state, plus a clock that stands still.
#include "platform/connection_state.h"
#include "platform/interval_timer.h"
#include "update/update_schedule.h"

#include <chrono>
#include <functional>
#include <optional>

namespace kv::test {

class RecordingTimer : public IntervalTimer {
public:
    std::optional<bool> enabled;
    void setEnabled(bool on) override { enabled = on; }
};

class RecordingAutomaticCheck : public AutomaticUpdate {
public:
    int runs = 0;
    bool busy = false;
    std::function<void()> whenNoUpdate;

    bool checking() const override { return busy; }
    void RunAutomaticUpdate(std::function<void()> noUpdate) override
    {
        ++runs;
        whenNoUpdate = std::move(noUpdate);
    }
};

class FixedConnection : public ConnectionState {
public:
    bool isOnline = true;
    bool online() const override { return isOnline; }
};

// 2024-03-10 12:00:00 in the machine's local time.
inline std::chrono::system_clock::time_point FixedNow()
{
    std::tm local{};
    local.tm_year = 124;
    local.tm_mon = 2;
    local.tm_mday = 10;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

} // namespace kv::test
