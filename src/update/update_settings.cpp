#include "update/update_settings.h"

#include <cstdio>
#include <ctime>

namespace kv {
namespace {

// Written under the root's full name and read under its short one, as the values always were.
constexpr const char* kWriteKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrelyn Vormaplex";
constexpr const char* kReadKey = "HKLM\\SOFTWARE\\Kestrelyn Vormaplex";

} // namespace

std::optional<std::int32_t> UpdatePeriodSeconds(std::string_view frequency)
{
    if (frequency == kFrequencyDaily)
        return 86'400;
    if (frequency == kFrequencyWeekly)
        return 604'800;
    if (frequency == kFrequencyMonthly)
        return 2'592'000;
    return std::nullopt;
}

std::string UpdateTimeText(std::chrono::system_clock::time_point time)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::optional<std::chrono::system_clock::time_point> UpdateTimeFromText(std::string_view text)
{
    if (text.size() != 19)
        return std::nullopt;
    const std::string copy(text);
    std::tm local{};
    char end = 0;
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &local.tm_year, &local.tm_mon, &local.tm_mday,
                    &local.tm_hour, &local.tm_min, &local.tm_sec, &end) != 6)
        return std::nullopt;
    if (local.tm_mon < 1 || local.tm_mon > 12 || local.tm_mday < 1 || local.tm_mday > 31 ||
        local.tm_hour > 23 || local.tm_min > 59 || local.tm_sec > 60)
        return std::nullopt;
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1))
        return std::nullopt;
    return std::chrono::system_clock::from_time_t(seconds);
}

std::string UpdateSettings::read(const std::string& name) const
{
    return registry_.ReadString(kReadKey, name, "");
}

void UpdateSettings::write(const std::string& name, std::string_view value)
{
    registry_.WriteString(kWriteKey, name, std::string(value));
}

} // namespace kv
