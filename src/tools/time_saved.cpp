#include "tools/time_saved.h"

#include "storage/sites_tree.h"
#include "tools/tools_texts.h"

#include <limits>

namespace kv {

std::int64_t CountAutomaticLogins(const std::filesystem::path& sitesDirectory)
{
    SiteSearch search{true, sitesDirectory};
    std::int64_t total = 0;
    SumSuccessCounts(search, total);
    return total;
}

TimeSaved ComputeTimeSaved(std::int64_t logins, int secondsPerLogin)
{
    TimeSaved saved{logins};
    if (logins == 0)
        return saved;
    const std::int64_t perLogin = secondsPerLogin == 0 ? kDefaultSecondsPerLogin : secondsPerLogin;
    // Counters are at most 32-bit each, so only an absurd profile could pass this; it stops there.
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    std::int64_t total = 0;
    if (__builtin_mul_overflow(perLogin, logins, &total))
        total = (perLogin < 0) != (logins < 0) ? -limit : limit;
    saved.days = total / 86400;
    std::int64_t left = total % 86400;
    saved.hours = left / 3600;
    left %= 3600;
    saved.minutes = left / 60;
    saved.seconds = left % 60;
    return saved;
}

std::string LoggedIntoText(std::int64_t logins)
{
    return std::string(kLoggedIntoBefore) + std::to_string(logins) + std::string(kLoggedIntoAfter);
}

std::string ManualTimeText(std::string_view secondsChoice)
{
    return std::string(kManualTimeBefore) + std::string(secondsChoice) + std::string(kManualTimeAfter);
}

} // namespace kv
