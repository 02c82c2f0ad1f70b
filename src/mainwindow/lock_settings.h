#pragma once
// The lock's one setting, kept beside the Options' login settings: lock after this many
// idle minutes, 0 for never. It lives in section "Options" of the settings file as plain
// text, like the other options.
#include <filesystem>
#include <string_view>

namespace kv {

inline constexpr std::string_view LOCKIDLEMINUTES = "LOCKIDLEMINUTES";
inline constexpr int kMaxLockIdleMinutes = 24 * 60;

inline constexpr std::string_view kLockIdleCaption = "Lock after this many idle minutes (0 = never):";
// Shown beside the setting when the profile asks for no login: there is nothing to ask
// when the program is shown again, so it never locks.
inline constexpr std::string_view kLockOffWithoutLogin =
    "The lock is off: this profile asks for no login when the program starts.";

// 0 when absent or not a whole number from 0 to kMaxLockIdleMinutes.
int ReadLockIdleMinutes(const std::filesystem::path& profileFile);
// False (nothing written) outside 0 to kMaxLockIdleMinutes.
bool WriteLockIdleMinutes(const std::filesystem::path& profileFile, int minutes);

} // namespace kv
