#pragma once
// Sections and keys of the profile settings file. "Security" values are stored
// encrypted (ENCRYPTION KEY and LOGIN CHOICE with the MachineKey, the rest with the
// ValueKey); "Options" values are plain text. Names match without regard to case.
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::string_view kSecuritySection = "Security";
inline constexpr std::string_view ENCRYPTION_KEY = "ENCRYPTION KEY";
inline constexpr std::string_view SECURITY_ENABLED = "SECURITY ENABLED";
inline constexpr std::string_view LOGIN_CHOICE = "LOGIN CHOICE";
inline constexpr std::string_view LOGIN = "LOGIN";
inline constexpr std::string_view PASS = "PASS";
inline constexpr std::string_view LOGIN_COUNT = "LOGIN COUNT";

inline constexpr std::string_view kOptionsSection = "Options";
inline constexpr std::string_view EXITWARNING = "EXITWARNING";
inline constexpr std::string_view MAXIE = "MAXIE";
inline constexpr std::string_view MINIE = "MINIE";
inline constexpr std::string_view LEFT = "LEFT";
inline constexpr std::string_view TOP = "TOP";
inline constexpr std::string_view HOTKEYON = "HOTKEYON";
inline constexpr std::string_view HOLDKEY = "HOLDKEY";
inline constexpr std::string_view PRESSKEY = "PRESSKEY";
inline constexpr std::string_view NIMBRASE = "NIMBRASE";
inline constexpr std::string_view BROWSERDELETEALL = "BROWSERDELETEALL";
inline constexpr std::string_view BROWSERCOOKIE = "BROWSERCOOKIE";
inline constexpr std::string_view BROWSERHISTORY = "BROWSERHISTORY";
inline constexpr std::string_view BROWSERTEMP = "BROWSERTEMP";
inline constexpr std::string_view BROWSERDELETEPROMPT = "BROWSERDELETEPROMPT";
inline constexpr std::string_view SKIN = "SKIN";
inline constexpr std::string_view SKINCUSTOM = "SKINCUSTOM";
inline constexpr std::string_view PROXYTYPE = "PROXYTYPE";
inline constexpr std::string_view PROXYADDRESS = "PROXYADDRESS";
inline constexpr std::string_view PROXYPORT = "PROXYPORT";

// The ten site hotkeys: section "Hotkey" + n (n = 1 to 10), each a list of up to 20 site
// names in HOTKEYNUMBER1 to HOTKEYNUMBER20, and whether it locks the session.
inline constexpr int kSiteHotkeyCount = 10;
inline constexpr int kHotkeyEntryCount = 20;
inline constexpr std::string_view HOTKEYLOCK = "HOTKEYLOCK";

inline std::string HotkeySection(int hotkeyNumber)
{
    return "Hotkey" + std::to_string(hotkeyNumber);
}

inline std::string HotkeyEntryKey(int entry)
{
    return "HOTKEYNUMBER" + std::to_string(entry);
}

inline constexpr std::string_view kSettingOn = "1";
inline constexpr std::string_view kSettingOff = "0";

// Where the profile is recorded.
inline constexpr std::string_view kProfileRegistryKey = "HKEY_CURRENT_USER\\Software\\Kestrelyn Vormaplex";
inline constexpr std::string_view kProfileNameValue = "ProfileName";
inline constexpr std::string_view kProfileNameReadAs = "profilename";
inline constexpr std::string_view kProfilePathValue = "ProfilePath";

} // namespace kv
