#pragma once
// The update schedule's registry values under HKEY_LOCAL_MACHINE\SOFTWARE\Kestrelyn Vormaplex.
#include "support/reg_access.h"

#include <chrono>
#include <optional>
#include <string>

namespace kv {

inline constexpr std::string_view kUpdateCheckAutomatic = "Automatic";
inline constexpr std::string_view kUpdateCheckManual = "Manual";
inline constexpr std::string_view kFrequencyDaily = "Daily";
inline constexpr std::string_view kFrequencyWeekly = "Weekly";
inline constexpr std::string_view kFrequencyMonthly = "Monthly";

// The seconds between automatic checks, or nullopt for an unknown frequency.
std::optional<std::int32_t> UpdatePeriodSeconds(std::string_view frequency);

// LastUpdateCheck is local time as "YYYY-MM-DD HH:MM:SS".
std::string UpdateTimeText(std::chrono::system_clock::time_point time);
std::optional<std::chrono::system_clock::time_point> UpdateTimeFromText(std::string_view text);

class UpdateSettings {
public:
    explicit UpdateSettings(clsRegAccess& registry) : registry_(registry) {}

    std::string UpdateCheck() const { return read("UpdateCheck"); }
    std::string UpdateFrequency() const { return read("UpdateFrequency"); }
    std::string LastUpdateCheck() const { return read("LastUpdateCheck"); }
    void setUpdateCheck(std::string_view value) { write("UpdateCheck", value); }
    void setUpdateFrequency(std::string_view value) { write("UpdateFrequency", value); }
    void setLastUpdateCheck(std::string_view value) { write("LastUpdateCheck", value); }

private:
    std::string read(const std::string& name) const;
    void write(const std::string& name, std::string_view value);

    clsRegAccess& registry_;
};

} // namespace kv
