// The tools over a large profile (10,000 site files in 200 folders) against the floor of
// reading every file once, and the import of a 10,000-line CSV export.
#include "bench_profile.h"
#include "common/temp_dir.h"
#include "tools/csv_import.h"
#include "tools/security_audit.h"
#include "tools/time_saved.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace kv {
namespace {

using bench::BenchProfile;
using bench::BM_ReadAllFilesFloor;
using bench::Profile;

void BM_TimeSavedRecount(benchmark::State& state)
{
    const Profile& profile = BenchProfile();
    std::int64_t logins = 0;
    for (auto _ : state) {
        logins = CountAutomaticLogins(profile.root());
        benchmark::DoNotOptimize(ComputeTimeSaved(logins, 30));
    }
    state.counters["logins"] = static_cast<double>(logins);
}
BENCHMARK(BM_TimeSavedRecount)->Unit(benchmark::kMillisecond);

void BM_AuditList(benchmark::State& state)
{
    const Profile& profile = BenchProfile();
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto audit = AuditSites(profile.root());
        rows = audit.size();
        benchmark::DoNotOptimize(audit.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_AuditList)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ReadAllFilesFloor)->Unit(benchmark::kMillisecond);

// A Bitwarden export: logins spread over 200 folders, values with commas and quotes.
std::string BitwardenExport(int rows)
{
    std::string csv =
        "folder,favorite,type,name,notes,fields,reminder,login_uri,login_username,login_password,"
        "login_totp\n";
    for (int i = 0; i < rows; ++i) {
        const std::string n = std::to_string(i);
        csv += "Category " + std::to_string(i % 200) + ",,login,\"Site " + n +
               ", main\",,,,https://login.site" + n + ".example/account/signin,user" + n +
               "@mail.example,\"pa\"\"ss, " + n + "\",\n";
    }
    return csv;
}

void BM_ImportCsv(benchmark::State& state)
{
    BenchProfile(); // the cipher keys
    const std::string csv = BitwardenExport(static_cast<int>(state.range(0)));
    std::size_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto sites = std::make_unique<test::TempDir>();
        state.ResumeTiming();
        const CsvImportOutcome outcome = ImportCsvText(csv, sites->path());
        written = outcome.written.size();
        state.PauseTiming();
        if (!outcome.problems.empty() || written != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("not every line was imported");
        sites.reset();
        state.ResumeTiming();
    }
    state.counters["sites"] = static_cast<double>(written);
}
BENCHMARK(BM_ImportCsv)->Arg(10'000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace kv

BENCHMARK_MAIN();
