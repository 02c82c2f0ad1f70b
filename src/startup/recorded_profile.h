#pragma once
// Where the profile is recorded, and opening it: what the start-up sequence and the
// command-line tool share.
#include "platform/machine_identity.h"
#include "startup/desktop_shortcuts.h"
#include "startup/new_profile.h"
#include "startup/profile.h"
#include "storage/key_material.h"
#include "support/reg_access.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <tl/expected.hpp>

namespace kv {

// The name and path the registry records; either may be empty. Nothing when the registry
// cannot be read: that is not "nothing recorded", and starting over would put a new
// profile over the user's.
std::optional<Profile> RecordedProfile(clsRegAccess& registry);

// A folder as the registry keeps it: without a trailing "/" (the root excepted).
std::string StoredProfilePath(std::string path);

// False when the registry refused it.
bool RecordProfilePath(clsRegAccess& registry, const std::filesystem::path& path);

enum class NewProfileInstall {
    Recorded,    // made (or the one found in place taken) and recorded
    Declined,    // a profile was found in place and not taken: nothing was changed
    NotRecorded, // the registry refused it; what is on disk stays and is found again
};

// Makes the new profile on disk and records where it is. A settings file already in the
// new profile's place holds the key its sites were written with, so it is never written
// to: only when takeFoundProfile agrees is that profile recorded instead.
NewProfileInstall InstallNewProfile(const NewProfile& profile, const MachineIdentity& machine,
                                    DesktopShortcuts& shortcuts, clsRegAccess& registry,
                                    const std::function<bool()>& takeFoundProfile);

// Both cipher keys of the profile on this machine, or the text that tells the user why
// the profile cannot be opened here.
tl::expected<CipherKeys, std::string> ProfileCipherKeys(const std::filesystem::path& profileFile,
                                                        std::uint32_t machineIdentity);

} // namespace kv
