#pragma once
// Texts of the tray icon, its menu, the search box and the lock.
#include <string_view>

namespace kv {

inline constexpr std::string_view kTrayShow = "Show";
inline constexpr std::string_view kTrayHide = "Hide";
inline constexpr std::string_view kTrayLock = "Lock";
inline constexpr std::string_view kTraySites = "Sites";
inline constexpr std::string_view kTrayNoSites = "(no sites)";
inline constexpr std::string_view kTrayHotkeys = "Hotkeys";
inline constexpr std::string_view kTrayExit = "Exit";
inline constexpr std::string_view kTrayNotice =
    "Kestrelyn Vormaplex keeps running in the tray; choose Exit in its menu to end it.";
inline constexpr std::string_view kSearchPlaceholder = "Search sites (Ctrl+F)";

} // namespace kv
