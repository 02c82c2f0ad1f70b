#pragma once
// The one-line notice that closing the window leaves the program in the tray, shown the
// first time only (per profile: section "Options", TRAYNOTICE "1" once it was shown).
#include <filesystem>
#include <string_view>

namespace kv {

inline constexpr std::string_view TRAYNOTICE = "TRAYNOTICE";

// True the first time, which is then recorded.
bool TakeTrayNotice(const std::filesystem::path& profileFile);

} // namespace kv
