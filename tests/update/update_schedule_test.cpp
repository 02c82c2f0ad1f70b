// The automatic check's countdown: how start-up arms it from the stored settings, and what
// each tick of tmrUpdate does.
#include "support/registry_fixture.h"
#include "update/schedule_fakes.h"
#include "update/update_schedule.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using namespace std::chrono_literals;

class Schedule : public ::testing::Test {
protected:
    void store(const std::string& mode, const std::string& frequency, std::optional<std::string> last)
    {
        settings.setUpdateCheck(mode);
        settings.setUpdateFrequency(frequency);
        if (last)
            settings.setLastUpdateCheck(*last);
    }
    std::string ago(std::chrono::seconds seconds) const { return UpdateTimeText(test::FixedNow() - seconds); }

    test::TempRegistry registry;
    UpdateSettings settings{registry.registry()};
    test::RecordingTimer timer;
    test::RecordingAutomaticCheck check;
    test::FixedConnection connection;
    UpdateSchedule schedule{settings, timer, check, connection, test::FixedNow};
};

TEST_F(Schedule, AFirstStartStoresAutomaticWeeklyAndChecksASecondLater)
{
    schedule.ScheduleUpdateCheck();

    EXPECT_EQ(settings.UpdateCheck(), "Automatic");
    EXPECT_EQ(settings.UpdateFrequency(), "Weekly");
    EXPECT_EQ(schedule.countdown(), 0);
    EXPECT_EQ(timer.enabled, true);

    schedule.tmrUpdate_Timer();
    EXPECT_EQ(check.runs, 1);
}

TEST_F(Schedule, TheCountdownIsWhatRemainsOfThePeriod)
{
    const struct {
        const char* what;
        std::string frequency;
        std::optional<std::string> last;
        std::int32_t countdown;
    } cases[] = {
        {"daily, 3 hours ago", "Daily", ago(3h), 75'600},
        {"weekly, a day ago", "Weekly", ago(24h), 518'400},
        {"monthly, 31 days ago", "Monthly", ago(31 * 24h), 0},
        {"never checked", "Daily", std::nullopt, 0},
        {"not a date", "Daily", std::string("yesterday-ish"), 0},
        {"an impossible date", "Daily", std::string("2024-13-45 99:00:00"), 0},
        {"an hour in the future", "Daily", ago(-1h), 86'400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempRegistry fresh;
        UpdateSettings values(fresh.registry());
        values.setUpdateCheck("Automatic");
        values.setUpdateFrequency(c.frequency);
        if (c.last)
            values.setLastUpdateCheck(*c.last);
        UpdateSchedule armed(values, timer, check, connection, test::FixedNow);
        armed.ScheduleUpdateCheck();
        EXPECT_EQ(armed.countdown(), c.countdown);
        EXPECT_EQ(timer.enabled, true);
    }
}

TEST_F(Schedule, AnExactPeriodOrAnUnknownFrequencyLeavesTheCountdownAsItWas)
{
    store("Automatic", "Daily", ago(3h));
    schedule.ScheduleUpdateCheck();
    ASSERT_EQ(schedule.countdown(), 75'600);

    settings.setLastUpdateCheck(ago(24h));
    schedule.ScheduleUpdateCheck();
    EXPECT_EQ(schedule.countdown(), 75'600);

    settings.setUpdateFrequency("Fortnightly");
    settings.setLastUpdateCheck(ago(300 * 24h));
    schedule.ScheduleUpdateCheck();
    EXPECT_EQ(schedule.countdown(), 75'600);
    EXPECT_EQ(timer.enabled, true);
}

TEST_F(Schedule, ManualChecksStopTheTimerAndOtherModesChangeNothing)
{
    store("Manual", "Daily", std::nullopt);
    schedule.ScheduleUpdateCheck();
    EXPECT_EQ(timer.enabled, false);

    timer.enabled.reset();
    settings.setUpdateCheck("automatic"); // the stored words are matched exactly
    schedule.ScheduleUpdateCheck();
    EXPECT_FALSE(timer.enabled);
    EXPECT_EQ(settings.UpdateFrequency(), "Daily");
}

TEST_F(Schedule, AtZeroTheCheckRunsRecordsItsTimeAndTheCountdownGoesOn)
{
    store("Automatic", "Daily", ago(3h));
    schedule.ScheduleUpdateCheck();
    for (int i = 0; i < 3; ++i)
        schedule.tmrUpdate_Timer();
    EXPECT_EQ(schedule.countdown(), 75'597);
    EXPECT_EQ(check.runs, 0);

    store("Automatic", "Daily", std::nullopt);
    settings.setLastUpdateCheck("garbage");
    schedule.ScheduleUpdateCheck();
    schedule.tmrUpdate_Timer();

    EXPECT_EQ(check.runs, 1);
    EXPECT_EQ(settings.LastUpdateCheck(), UpdateTimeText(test::FixedNow()));
    EXPECT_EQ(schedule.countdown(), -1);
}

TEST_F(Schedule, NoUpdateRearmsForAFullPeriodAndAFailureEndsTheChecksForThisRun)
{
    store("Automatic", "Weekly", std::nullopt);
    schedule.ScheduleUpdateCheck();
    schedule.tmrUpdate_Timer();
    ASSERT_EQ(check.runs, 1);

    check.whenNoUpdate();
    EXPECT_EQ(schedule.countdown(), 604'800);

    // A check that fails never calls back: the countdown runs below zero and stays there.
    test::RecordingAutomaticCheck failing;
    UpdateSchedule once(settings, timer, failing, connection, test::FixedNow);
    settings.setLastUpdateCheck("");
    once.ScheduleUpdateCheck();
    for (int i = 0; i < 5; ++i)
        once.tmrUpdate_Timer();
    EXPECT_EQ(failing.runs, 1);
    EXPECT_EQ(once.countdown(), -5);
}

TEST_F(Schedule, WithoutAConnectionNothingRunsAndNothingIsRecorded)
{
    connection.isOnline = false;
    store("Automatic", "Daily", std::nullopt);
    schedule.ScheduleUpdateCheck();
    schedule.tmrUpdate_Timer();
    schedule.tmrUpdate_Timer();

    EXPECT_EQ(check.runs, 0);
    EXPECT_EQ(settings.LastUpdateCheck(), "");
    EXPECT_EQ(schedule.countdown(), -2);
}

TEST_F(Schedule, ACheckUnderWayKeepsTheAutomaticOneWaiting)
{
    store("Automatic", "Daily", std::nullopt);
    schedule.ScheduleUpdateCheck();
    check.busy = true;
    schedule.tmrUpdate_Timer();
    schedule.tmrUpdate_Timer();
    EXPECT_EQ(check.runs, 0);
    EXPECT_EQ(schedule.countdown(), 0);

    check.busy = false;
    schedule.tmrUpdate_Timer();
    EXPECT_EQ(check.runs, 1);
}

TEST(UpdateSettings, WrittenUnderTheFullRootNameAndReadUnderTheShortOne)
{
    test::TempRegistry registry;
    UpdateSettings settings(registry.registry());
    settings.setUpdateCheck("Manual");

    EXPECT_EQ(registry.registry().ReadString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrelyn Vormaplex",
                                             "UpdateCheck", ""),
              "Manual");
    registry.registry().WriteString("HKLM\\SOFTWARE\\Kestrelyn Vormaplex", "UpdateFrequency", "Monthly");
    EXPECT_EQ(settings.UpdateFrequency(), "Monthly");
}

TEST(UpdateSettings, TimesSurviveTheirText)
{
    const auto now = std::chrono::time_point_cast<std::chrono::seconds>(test::FixedNow());
    EXPECT_EQ(UpdateTimeFromText(UpdateTimeText(now)), now);
    for (const char* text :
         {"", "2024-03-10", "2024-03-10 12:00:00x", "2024-02-10 12:00", "10/03/2024 12:00:00"})
        EXPECT_FALSE(UpdateTimeFromText(text)) << text;
}

} // namespace
} // namespace kv
