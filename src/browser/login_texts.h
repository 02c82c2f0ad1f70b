#pragma once
// Texts of the login engine and the site commands, quoted once for the rules and their tests.
#include <string_view>

namespace kv {

inline constexpr std::string_view kLaunchBrowserError =
    "An error occured when trying to launch browser, this doesn't work with your system.";
inline constexpr std::string_view kLaunchBrowserErrorTitle = "Error";
inline constexpr std::string_view kEmptyHotkeyMessage =
    "This hotkey is empty.  To use hotkey functionaility, please add sites to this hotkey.";
inline constexpr std::string_view kVelotripUnsupportedQuestion =
    "This site does not seem to support Velotrip, would you like to try anyways?";
inline constexpr std::string_view kVelotripCaption = "Velotrip";

} // namespace kv
