// The Time Saved figures from the sites' success counters.
#include "sites_folder.h"
#include "storage/ini_values.h"
#include "tools/time_saved.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::SitesFolder;

void SetCounter(const std::filesystem::path& site, std::string_view count)
{
    WriteSecureValue(kStatsSection, SUCCESS, count, site);
}

TEST(TimeSaved, NoSitesMeansZeroEverywhere)
{
    SitesFolder sites;
    const std::int64_t logins = CountAutomaticLogins(sites.path());
    EXPECT_EQ(logins, 0);
    const TimeSaved saved = ComputeTimeSaved(logins, 60);
    EXPECT_EQ(saved.days + saved.hours + saved.minutes + saved.seconds, 0);
    EXPECT_EQ(LoggedIntoText(0), "You have logged into 0 sites automatically with Vormaplex.");
}

TEST(TimeSaved, CountersOfEveryFolderAddUp)
{
    SitesFolder sites;
    SetCounter(sites.login("A.QVR", "A", "a", "a"), "2");
    SetCounter(sites.login("Work/B.QVR", "B", "b", "b"), "0");
    SetCounter(sites.login("Work/Deep/C.QVR", "C", "c", "c"), "1");
    sites.login("D.QVR", "D", "d", "d"); // never used: no counter
    const std::int64_t logins = CountAutomaticLogins(sites.path());
    EXPECT_EQ(logins, 3);
    const TimeSaved saved = ComputeTimeSaved(logins, 60);
    EXPECT_EQ((std::array{saved.days, saved.hours, saved.minutes, saved.seconds}),
              (std::array<std::int64_t, 4>{0, 0, 3, 0}));
    EXPECT_EQ(LoggedIntoText(logins), "You have logged into 3 sites automatically with Vormaplex.");
    EXPECT_EQ(ManualTimeText("60"), "If the average time it takes to login manually is 60 seconds.");
}

TEST(TimeSaved, CountersThatAreNotNumbersOrCannotBeReadAddNothing)
{
    SitesFolder sites;
    SetCounter(sites.login("A.QVR", "A", "a", "a"), "4");
    SetCounter(sites.login("B.QVR", "B", "b", "b"), "many");
    const auto damaged = sites.login("C.QVR", "C", "c", "c");
    WriteIniValue(kStatsSection, SUCCESS, "not hex text", damaged);
    EXPECT_EQ(CountAutomaticLogins(sites.path()), 4);
}

TEST(TimeSaved, BreaksSecondsIntoDaysHoursMinutes)
{
    const TimeSaved saved = ComputeTimeSaved(20000, 5);
    EXPECT_EQ((std::array{saved.days, saved.hours, saved.minutes, saved.seconds}),
              (std::array<std::int64_t, 4>{1, 3, 46, 40}));
    // No seconds per login counts as five.
    const TimeSaved defaulted = ComputeTimeSaved(20000, 0);
    EXPECT_EQ(defaulted.days, 1);
    EXPECT_EQ(defaulted.seconds, 40);
}

TEST(TimeSaved, LargeTotalsDoNotWrap)
{
    SitesFolder sites;
    SetCounter(sites.login("A.QVR", "A", "a", "a"), "2147483647");
    SetCounter(sites.login("B.QVR", "B", "b", "b"), "2147483647");
    const std::int64_t logins = CountAutomaticLogins(sites.path());
    EXPECT_EQ(logins, 4294967294);
    const TimeSaved saved = ComputeTimeSaved(logins, 60);
    EXPECT_EQ(saved.days * 86400 + saved.hours * 3600 + saved.minutes * 60 + saved.seconds,
              4294967294LL * 60);
    EXPECT_EQ(ComputeTimeSaved(INT64_MAX, 60).days, INT64_MAX / 86400);
}

} // namespace
} // namespace kv
