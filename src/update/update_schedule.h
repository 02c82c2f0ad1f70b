#pragma once
// The automatic update schedule: a countdown of seconds, lowered once a second by the
// window's timer tmrUpdate, that starts the automatic check when it reads 0.
#include "platform/connection_state.h"
#include "platform/interval_timer.h"
#include "update/update_settings.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace kv {

// The check that the schedule starts.
class AutomaticUpdate {
public:
    virtual ~AutomaticUpdate() = default;
    virtual bool checking() const = 0;
    // whenNoUpdate runs when the manifest offered nothing to install.
    virtual void RunAutomaticUpdate(std::function<void()> whenNoUpdate) = 0;
};

class UpdateSchedule {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    UpdateSchedule(UpdateSettings& settings, IntervalTimer& timer, AutomaticUpdate& check,
                   const ConnectionState& connection, Clock now = std::chrono::system_clock::now);

    // From the stored settings: the countdown, and whether the timer runs.
    void ScheduleUpdateCheck();
    // Every second while the timer runs.
    void tmrUpdate_Timer();

    std::int32_t countdown() const { return countdown_; }

private:
    void RunAutomaticUpdate();

    UpdateSettings& settings_;
    IntervalTimer& timer_;
    AutomaticUpdate& check_;
    const ConnectionState& connection_;
    Clock now_;
    // After a failed check it runs below 0 and no further automatic check comes this run.
    std::int32_t countdown_ = 0;
};

} // namespace kv
