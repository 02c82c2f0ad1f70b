#pragma once
// How much time the automatic logins saved: the success counters of every site added up
// (64-bit, so neither the total nor seconds × total can wrap) and turned into days,
// hours, minutes and seconds for a chosen manual login time.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

inline constexpr int kDefaultSecondsPerLogin = 5;

struct TimeSaved {
    std::int64_t logins = 0;
    std::int64_t days = 0;
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;
};

// Stats SUCCESS of every site below the sites directory; a counter that is not a number
// or cannot be decrypted adds nothing.
std::int64_t CountAutomaticLogins(const std::filesystem::path& sitesDirectory);

// 0 seconds per login counts as 5.
TimeSaved ComputeTimeSaved(std::int64_t logins, int secondsPerLogin);

// Label14: "You have logged into N sites automatically with Vormaplex."
std::string LoggedIntoText(std::int64_t logins);
// Label44 for the chosen entry of cmbTimePerLogin.
std::string ManualTimeText(std::string_view secondsChoice);

} // namespace kv
