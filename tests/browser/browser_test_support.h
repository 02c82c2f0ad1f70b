#pragma once
// What the browser logic tests share: a profile directory with cipher keys set, site files
// written and read as the program does, and a host that records what the rules asked of it.
#include "browser/browser_host.h"
#include "common/temp_dir.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>

namespace kv::test {

class RecordingHost : public BrowserHost {
public:
    void activate() override { ++activations; }
    void reloadSitesTree() override { ++treeReloads; }
    void secureBrowsingPass() override { ++cleanups; }
    void showHotkeysArea() override { ++hotkeyAreaShown; }

    int activations = 0;
    int treeReloads = 0;
    int cleanups = 0;
    int hotkeyAreaShown = 0;
};

class TestProfile {
public:
    TestProfile() { SetCipherKeys({"machine key for browser tests", "value key for browser tests"}); }

    const std::filesystem::path& root() const { return dir_.path(); }
    std::filesystem::path file() const { return dir_ / "Tester.ini"; }

    // A site file with the given "Main" values.
    std::filesystem::path
    site(const std::filesystem::path& relative,
         std::initializer_list<std::pair<std::string_view, std::string_view>> values) const
    {
        const std::filesystem::path path = dir_ / relative;
        std::filesystem::create_directories(path.parent_path());
        for (const auto& [key, value] : values)
            WriteSecureValue(kMainSection, key, value, path);
        return path;
    }

private:
    TempDir dir_;
};

inline std::string SiteValue(const std::filesystem::path& site, std::string_view key,
                             std::string_view section = kMainSection)
{
    return ReadSecureValue(section, key, site).value_or("<damaged>");
}

} // namespace kv::test
