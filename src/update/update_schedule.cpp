#include "update/update_schedule.h"

#include <limits>

namespace kv {

UpdateSchedule::UpdateSchedule(UpdateSettings& settings, IntervalTimer& timer, AutomaticUpdate& check,
                               const ConnectionState& connection, Clock now)
    : settings_(settings), timer_(timer), check_(check), connection_(connection), now_(std::move(now))
{
}

void UpdateSchedule::ScheduleUpdateCheck()
{
    const std::string mode = settings_.UpdateCheck();
    if (mode.empty()) {
        // A first start checks a second later and then weekly.
        settings_.setUpdateCheck(kUpdateCheckAutomatic);
        settings_.setUpdateFrequency(kFrequencyWeekly);
        countdown_ = 0;
        timer_.setEnabled(true);
    } else if (mode == kUpdateCheckManual) {
        timer_.setEnabled(false);
    } else if (mode == kUpdateCheckAutomatic) {
        // A missing or unreadable time counts as longer ago than any period; a time in the
        // future as just now.
        std::int64_t elapsed = std::numeric_limits<std::int64_t>::max();
        if (const auto last = UpdateTimeFromText(settings_.LastUpdateCheck())) {
            const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now_() - *last).count();
            elapsed = seconds > 0 ? seconds : 0;
        }
        if (const auto period = UpdatePeriodSeconds(settings_.UpdateFrequency())) {
            if (elapsed > *period)
                countdown_ = 0;
            else if (elapsed < *period)
                countdown_ = static_cast<std::int32_t>(*period - elapsed);
        }
        timer_.setEnabled(true);
    }
}

void UpdateSchedule::tmrUpdate_Timer()
{
    if (countdown_ == 0) {
        // A manual check under way keeps the automatic one waiting for the next second.
        if (check_.checking())
            return;
        RunAutomaticUpdate();
    }
    if (countdown_ > std::numeric_limits<std::int32_t>::min())
        --countdown_;
}

void UpdateSchedule::RunAutomaticUpdate()
{
    if (!connection_.online())
        return;
    settings_.setLastUpdateCheck(UpdateTimeText(now_()));
    countdown_ = 0;
    check_.RunAutomaticUpdate([this] { ScheduleUpdateCheck(); });
}

} // namespace kv
