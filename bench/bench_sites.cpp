// The sites tree walks over a large profile: 10,000 real site files in 200 folders.
// BM_ReadAllFilesFloor is the floor: list the same tree and read every file's bytes.
#include "storage/hex_text.h"
#include "storage/ini_file.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "storage/sites_tree.h"
#include "storage/sites_tree_model.h"

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

namespace kv {
namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 200;
constexpr int kSitesPerFolder = 50;

std::string Numbered(const char* format, int number)
{
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, number);
    return text.data();
}

std::string SiteUrl(int folder, int site)
{
    return "https://login.site" + std::to_string(folder * kSitesPerFolder + site) + ".example/account/signin";
}

// Built once per process in a temp directory, removed when the process ends.
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

const Profile& BenchProfile()
{
    static const Profile profile;
    return profile;
}

// Every site file below the root, in the order of the walk.
std::vector<fs::path> AllSiteFiles(const fs::path& root)
{
    std::vector<fs::path> sites;
    std::int32_t files = 0, folders = 0;
    CollectSiteFiles(root, kSitePattern, sites, files, folders);
    return sites;
}

void BM_FillSitesTree(benchmark::State& state)
{
    const Profile& profile = BenchProfile();
    SitesTreeModel tree;
    for (auto _ : state) {
        FillSitesTree(tree, profile.root());
        benchmark::DoNotOptimize(tree.nodes().size());
    }
    state.counters["nodes"] = static_cast<double>(tree.nodes().size());
}
BENCHMARK(BM_FillSitesTree)->Unit(benchmark::kMillisecond);

void BM_CollectSiteFiles(benchmark::State& state)
{
    const Profile& profile = BenchProfile();
    for (auto _ : state) {
        const auto sites = AllSiteFiles(profile.root());
        benchmark::DoNotOptimize(sites.data());
    }
}
BENCHMARK(BM_CollectSiteFiles)->Unit(benchmark::kMillisecond);

void BM_SumSuccessCounts(benchmark::State& state)
{
    const Profile& profile = BenchProfile();
    std::int64_t total = 0;
    for (auto _ : state) {
        SiteSearch search{true, profile.root()};
        total = 0;
        SumSuccessCounts(search, total);
        benchmark::DoNotOptimize(total);
    }
    state.counters["total"] = static_cast<double>(total);
}
BENCHMARK(BM_SumSuccessCounts)->Unit(benchmark::kMillisecond);

// The capture's known-site check: decrypt SITEURL of every site until one matches;
// the one sought is the last in the walk.
void BM_FindKnownSiteUrl(benchmark::State& state)
{
    const Profile& profile = BenchProfile();
    for (auto _ : state) {
        bool known = false;
        for (const fs::path& site : AllSiteFiles(profile.root())) {
            const auto url = ReadSecureValue(kMainSection, SITEURL, site);
            if (url && *url == profile.lastUrl()) {
                known = true;
                break;
            }
        }
        if (!known)
            state.SkipWithError("the last site was not found");
    }
}
BENCHMARK(BM_FindKnownSiteUrl)->Unit(benchmark::kMillisecond);

void BM_ReadAllFilesFloor(benchmark::State& state)
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
BENCHMARK(BM_ReadAllFilesFloor)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kv

BENCHMARK_MAIN();
