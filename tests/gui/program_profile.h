#pragma once
// What the real program finds when it starts: a profile without a program login (choice 4)
// recorded in a registry under configHome, with sites spread over folders. The sites are
// copies of one real site file, so that thousands of them are made quickly.
#include "common/manual_update_checks.h"
#include "platform/machine_identity.h"
#include "platform/user_account.h"
#include "startup/create_profile.h"
#include "startup/profile.h"
#include "startup/profile_settings.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kv::test {

// Returns the profile's settings file.
inline std::filesystem::path MakeProgramProfile(const std::filesystem::path& configHome,
                                                const std::filesystem::path& profileDir, int siteCount,
                                                int folderCount)
{
    LinuxUserAccount user;
    LinuxMachineIdentity machine;
    NewProfile created{user.name(), profileDir.string(), "K3STR3LYNV0RMAPL3XB3NCH25", "4", "", "", true};
    NoDesktopShortcuts shortcuts;
    CreateProfile(created, machine.volumeSerial(), shortcuts);

    SqliteRegistryBackend backend(configHome / "kestrelyn-vormaplex" / "registry");
    clsRegAccess registry(backend);
    registry.WriteString(std::string(kProfileRegistryKey), std::string(kProfileNameValue), created.name);
    registry.WriteString(std::string(kProfileRegistryKey), std::string(kProfilePathValue), created.path);
    UseManualUpdateChecks(configHome);

    const std::string serial = VolumeSerialPart(machine.volumeSerial());
    SetCipherKeys({MachineKey(serial), ValueKey(serial, created.key)});
    const std::filesystem::path model = profileDir / "Model.QVR";
    WriteSecureValue(kMainSection, SITEFRIENDLYNAME, "Model", model);
    WriteSecureValue(kMainSection, SITEURL, "https://www.example.com/login", model);
    WriteSecureValue(kMainSection, FORMLOGINVALUE, "alice", model);
    WriteSecureValue(kMainSection, FORMPASSVALUE, "correct horse", model);
    std::stringstream bytes;
    bytes << std::ifstream(model, std::ios::binary).rdbuf();
    std::filesystem::remove(model);
    for (int site = 0; site < siteCount; ++site) {
        std::filesystem::path folder = profileDir / ("Category " + std::to_string(site % folderCount + 1));
        std::filesystem::create_directories(folder);
        std::ofstream(folder / ("Site " + std::to_string(site + 1) + ".QVR"), std::ios::binary)
            << bytes.str();
    }
    return ProfileFile({created.name, profileDir});
}

} // namespace kv::test
