#include "startup/recorded_profile.h"

#include "startup/create_profile.h"
#include "startup/profile_key.h"
#include "startup/profile_settings.h"
#include "storage/ini_values.h"
#include "storage/secure_store.h"

namespace kv {
namespace {

const std::string kProfileKey(kProfileRegistryKey);

} // namespace

std::optional<Profile> RecordedProfile(clsRegAccess& registry)
{
    const auto name = registry.ReadStringOrFailure(kProfileKey, std::string(kProfileNameReadAs));
    const auto path = registry.ReadStringOrFailure(kProfileKey, std::string(kProfilePathValue));
    if (!name || !path)
        return std::nullopt;
    return Profile{name->value_or(""), StoredProfilePath(path->value_or(""))};
}

std::string StoredProfilePath(std::string path)
{
    while (path.size() > 1 && path.ends_with('/'))
        path.pop_back();
    return path;
}

bool RecordProfilePath(clsRegAccess& registry, const std::filesystem::path& path)
{
    return registry.WriteString(kProfileKey, std::string(kProfilePathValue),
                                StoredProfilePath(path.string())) != 0;
}

NewProfileInstall InstallNewProfile(const NewProfile& profile, const MachineIdentity& machine,
                                    DesktopShortcuts& shortcuts, clsRegAccess& registry,
                                    const std::function<bool()>& takeFoundProfile)
{
    if (!CreateProfile(profile, machine.volumeSerial(), shortcuts) && !takeFoundProfile())
        return NewProfileInstall::Declined;
    const bool recorded =
        registry.WriteString(kProfileKey, std::string(kProfileNameValue), profile.name) != 0 &&
        RecordProfilePath(registry, profile.path);
    return recorded ? NewProfileInstall::Recorded : NewProfileInstall::NotRecorded;
}

tl::expected<CipherKeys, std::string> ProfileCipherKeys(const std::filesystem::path& profileFile,
                                                        std::uint32_t machineIdentity)
{
    const std::string serialPart = VolumeSerialPart(machineIdentity);
    const std::string machineKey = MachineKey(serialPart);
    const auto profileKey =
        DecryptValue(ReadIniValue(kSecuritySection, ENCRYPTION_KEY, profileFile), machineKey);
    if (!profileKey)
        return tl::unexpected(profileKey.error().description);
    // The length alone is what the user is shown: the key itself never is.
    if (profileKey->size() != kProfileKeyLength)
        return tl::unexpected(std::to_string(profileKey->size()));
    return CipherKeys{machineKey, ValueKey(serialPart, *profileKey)};
}

} // namespace kv
