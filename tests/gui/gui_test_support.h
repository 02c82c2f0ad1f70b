#pragma once
// A throwaway profile with cipher keys set, a launcher that records addresses, and
// helpers for writing sites.
#include "common/recording_launcher.h"
#include "common/temp_dir.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kv::test {

class TestProfile {
public:
    TestProfile()
    {
        const std::string serial = VolumeSerialPart(0x1234ABCDu);
        SetCipherKeys({MachineKey(serial), ValueKey(serial, "ABCDEFGHIJKLMNOPQRSTUVWXY")});
        std::ofstream(file()).put('\n');
    }

    const std::filesystem::path& directory() const { return dir_.path(); }
    std::filesystem::path file() const { return dir_.path() / "tester.ini"; }
    // Folder keys end with "/".
    std::string key(const std::filesystem::path& relative) const { return (dir_.path() / relative).string(); }
    std::string folderKey(const std::filesystem::path& relative) const
    {
        return relative.empty() ? dir_.path().string() + "/" : (dir_.path() / relative).string() + "/";
    }

    void makeFolder(const std::filesystem::path& relative) const
    {
        std::filesystem::create_directories(dir_.path() / relative);
    }
    std::filesystem::path makeSite(const std::filesystem::path& relative,
                                   const std::string& url = "https://a.example/") const
    {
        std::filesystem::path site = dir_.path() / relative;
        std::filesystem::create_directories(site.parent_path());
        WriteSecureValue(kMainSection, SITEURL, url, site);
        WriteSecureValue(kMainSection, FORMLOGINVALUE, "alice", site);
        return site;
    }

private:
    TempDir dir_;
};

} // namespace kv::test
