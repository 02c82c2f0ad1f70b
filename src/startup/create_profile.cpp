#include "startup/create_profile.h"

#include "startup/profile.h"
#include "startup/profile_settings.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/sites_tree.h"

#include <filesystem>
#include <utility>

namespace kv {

namespace {
namespace fs = std::filesystem;

void WriteEncrypted(std::string_view key, std::string_view value, std::string_view cipherKey,
                    const fs::path& file)
{
    WriteEncryptedValue(kSecuritySection, key, value, cipherKey, file);
}
} // namespace

bool ProfileFileExists(const NewProfile& profile)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(ProfileFile({profile.name, profile.path}), ec);
    return status.type() != fs::file_type::not_found;
}

bool CreateProfile(const NewProfile& profile, std::uint32_t machineIdentity, DesktopShortcuts& shortcuts)
{
    if (ProfileFileExists(profile))
        return false;
    const std::string serialPart = VolumeSerialPart(machineIdentity);
    const std::string machineKey = MachineKey(serialPart);
    const std::string valueKey = ValueKey(serialPart, profile.key);

    const fs::path directory = profile.path;
    MakeDirPath(directory);
    std::error_code ignored;
    fs::permissions(directory, fs::perms::owner_all, fs::perm_options::replace, ignored);

    const fs::path file = ProfileFile({profile.name, directory});
    WriteEncrypted(ENCRYPTION_KEY, profile.key, machineKey, file);
    const std::string& choice = profile.loginChoice;
    if (choice == "1" || choice == "2" || choice == "3") {
        WriteEncrypted(LOGIN_CHOICE, choice, machineKey, file);
        WriteEncrypted(SECURITY_ENABLED, kSettingOn, valueKey, file);
        if (choice != "2") {
            WriteEncrypted(LOGIN, profile.login, valueKey, file);
            WriteEncrypted(PASS, profile.password, valueKey, file);
        }
    } else if (choice == "4") {
        WriteEncrypted(SECURITY_ENABLED, kSettingOff, valueKey, file);
    }
    WriteEncrypted(LOGIN_COUNT, "3", valueKey, file);

    const std::pair<std::string_view, std::string_view> options[] = {
        {EXITWARNING, "1"}, {MAXIE, "1"},    {MINIE, "0"},         {LEFT, "2000"},
        {TOP, "2000"},      {HOTKEYON, "0"}, {HOLDKEY, "Control"}, {PRESSKEY, "Up"},
    };
    for (const auto& [key, value] : options)
        WriteIniValue(kOptionsSection, key, value, file);

    if (profile.makeCategories)
        for (const std::string_view category : kSampleCategories)
            MakeDirPath(directory / category);
    shortcuts.createQuickLaunchShortcut();
    return true;
}

} // namespace kv
