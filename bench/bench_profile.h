#pragma once
// A large profile for benchmarks: 10,000 real site files in 200 folders, every value
// encrypted as the storage layer stores it. Built once per process in a temp directory.
#include "storage/hex_text.h"
#include "storage/ini_file.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "storage/sites_tree.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kv::bench {

namespace fs = std::filesystem;

constexpr int kFolders = 200;
constexpr int kSitesPerFolder = 50;

inline std::string Numbered(const char* format, int number)
{
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, number);
    return text.data();
}

inline std::string SiteUrl(int folder, int site)
{
    return "https://login.site" + std::to_string(folder * kSitesPerFolder + site) + ".example/account/signin";
}

// Removed when the process ends.
class Profile {
public:
    Profile()
    {
        std::string pattern = (fs::temp_directory_path() / "kv-bench-sites-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        SetCipherKeys({MachineKey("123456789"), ValueKey("123456789", "0123456789ABCDEFGHIJKLMNO")});
        for (int folder = 0; folder < kFolders; ++folder) {
            const fs::path directory = root_ / Numbered("Category %03d", folder);
            fs::create_directory(directory);
            for (int site = 0; site < kSitesPerFolder; ++site)
                write(directory / Numbered("Site %02d.QVR", site), folder, site);
        }
        lastUrl_ = SiteUrl(kFolders - 1, kSitesPerFolder - 1);
    }
    ~Profile() { fs::remove_all(root_); }

    const fs::path& root() const { return root_; }
    const std::string& lastUrl() const { return lastUrl_; }

private:
    // Every value encrypted as the storage layer stores it; one write per file keeps
    // the set-up short (the layer itself writes key by key, each write synced).
    static void write(const fs::path& file, int folder, int site)
    {
        const std::string number = std::to_string(folder * kSitesPerFolder + site);
        const std::string url = SiteUrl(folder, site);
        const std::pair<std::string_view, std::string> values[] = {
            {SITEFRIENDLYNAME, "Site " + number},
            {SITETITLE, "Sign in to Site " + number},
            {SITEURL, url},
            {SITEDOMAIN, "site" + number + ".example"},
            {FORMNAME, "login"},
            {FORMMETHOD, "post"},
            {FORMACTIONURL, url + "/submit"},
            {FORMLOGINNAME, "username"},
            {FORMLOGINVALUE, "user" + number + "@mail.example"},
            {FORMPASSNAME, "password"},
            {FORMPASSVALUE, "correct horse battery staple " + number},
            {VELOTRIP, "0"},
            {SITEPOSTDATA, "username=user" + number + "%40mail.example&password=correct+horse"},
            {AUTOLOGSTATUS, "Yes"},
        };
        IniFile ini;
        const std::string& valueKey = CurrentCipherKeys().valueKey;
        for (const auto& [key, value] : values)
            ini.setValue(kMainSection, key, HexEncode(EncryptValue(value, valueKey), " "));
        ini.setValue(kStatsSection, SUCCESS,
                     HexEncode(EncryptValue(std::to_string(site % 7), valueKey), " "));
        std::ofstream(file, std::ios::binary) << ini.serialize();
    }

    fs::path root_;
    std::string lastUrl_;
};

inline const Profile& BenchProfile()
{
    static const Profile profile;
    return profile;
}

// Every site file below the root, in the order of the walk.
inline std::vector<fs::path> AllSiteFiles(const fs::path& root)
{
    std::vector<fs::path> sites;
    std::int32_t files = 0, folders = 0;
    CollectSiteFiles(root, kSitePattern, sites, files, folders);
    return sites;
}

// The floor of every walk over the profile: list the tree and read every file's bytes.
inline void BM_ReadAllFilesFloor(benchmark::State& state)
{
    const Profile& profile = BenchProfile();
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const auto& entry : fs::recursive_directory_iterator(profile.root())) {
            if (!entry.is_regular_file())
                continue;
            const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
                bytes += static_cast<std::size_t>(got);
            ::close(fd);
        }
        benchmark::DoNotOptimize(bytes);
    }
}

} // namespace kv::bench
