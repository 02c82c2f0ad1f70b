// The sites tree walks over a large profile: 10,000 real site files in 200 folders.
// BM_ReadAllFilesFloor is the floor: list the same tree and read every file's bytes.
#include "bench_profile.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "storage/sites_tree.h"
#include "storage/sites_tree_model.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <vector>

namespace kv {
namespace {

using bench::AllSiteFiles;
using bench::BenchProfile;
using bench::BM_ReadAllFilesFloor;
using bench::Profile;
namespace fs = std::filesystem;

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

BENCHMARK(BM_ReadAllFilesFloor)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kv

BENCHMARK_MAIN();
