#pragma once
#include "startup/desktop_shortcuts.h"
#include "startup/new_profile.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kv {

// The sample category folders, in the order they are made; parents before children.
inline constexpr std::array<std::string_view, 15> kSampleCategories = {
    "Dating", "Education", "Finance", "Friends",    "Fun",  "Shopping", "Travel", "Health",
    "Mail",   "Most used", "Music",   "Music/Rock", "News", "Other",    "Work",
};

// Makes the profile directory (owner-only), writes the settings file with the defaults
// of the login choice, makes the sample folders when asked and the Quick Launch shortcut.
// A settings file that is already there holds the key its sites were written with: it is
// never written to, and false is answered with nothing done.
bool CreateProfile(const NewProfile& profile, std::uint32_t machineIdentity, DesktopShortcuts& shortcuts);

// Whatever is at the new profile's settings file path (a file, or anything else) counts.
bool ProfileFileExists(const NewProfile& profile);

} // namespace kv
