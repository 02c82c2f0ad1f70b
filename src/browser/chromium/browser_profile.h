#pragma once
// The program's Chromium profile: the program is the password manager here, so the
// browser's own password saving ("Save password?") and its autofill of login names are
// switched off in the profile before the browser starts.
#include <filesystem>

namespace kv {

// Writes the settings into the profile's preferences, keeping every other setting the
// browser stored there; creates the profile (owner-only) when it does not exist yet.
// False when the preferences could not be written.
bool SwitchOffBrowserPasswordSaving(const std::filesystem::path& userDataDir);

} // namespace kv
