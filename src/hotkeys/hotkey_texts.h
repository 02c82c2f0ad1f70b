#pragma once
// Texts of the hotkeys and of the Hotkeys area, quoted once for the rules, the form and the tests.
#include <string_view>

namespace kv {

inline constexpr std::string_view kHotkeyUnavailablePrefix = "Could not register CTRL-";
inline constexpr std::string_view kHotkeyUnavailableCaption = "Key Combo Unavailable";
inline constexpr std::string_view kTooManyHotkeySitesMessage = "You can only setup 20 sites per hotkey.";
inline constexpr std::string_view kDuplicateHotkeySiteMessage = "No duplicates are allowed in the list.";

// The Hotkeys area.
inline constexpr std::string_view kHotkeyEntryPrefix = "Ctrl + F"; // "Ctrl + F1" to "Ctrl + F10"
inline constexpr std::string_view kSelectHotkeyTip = "Select a hotkey";
inline constexpr std::string_view kAvailableSitesTip = "Sites available for hotkey addition.";
inline constexpr std::string_view kCurrentHotkeyListTip = "Current hotkey list";
inline constexpr std::string_view kAddHotkeyCaption = "Add";
inline constexpr std::string_view kAddHotkeyTip = "Add to hotkey";
inline constexpr std::string_view kRemoveHotkeyCaption = "Remove";
inline constexpr std::string_view kRemoveHotkeyTip = "Remove from hotkey";
inline constexpr std::string_view kLockOnHotkeyCaption = "Lock on hotkey execution";
inline constexpr std::string_view kLockOnHotkeyTip =
    "This applies per hotkey and allows the computer to lock the desktop.  If user account has no password, "
    "no password will be needed to unlock machine.";
inline constexpr std::string_view kSaveHotkeyCaption = "&Save changes";
inline constexpr std::string_view kHotkeySavedCaption = "Hotkey Saved";

// What a desktop shortcut service shows the user beside each hotkey.
inline constexpr std::string_view kHideShowHotkeyDescription = "Hide or show Kestrelyn Vormaplex";
inline constexpr std::string_view kSiteHotkeyDescriptionPrefix = "Log into the sites of Ctrl + F";

} // namespace kv
