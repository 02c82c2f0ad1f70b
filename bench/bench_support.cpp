// Registry round trip through the real store: one write (its own transaction) and
// one read of the same value.
#include "common/temp_dir.h"
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_RegWriteReadString(benchmark::State& state)
{
    kv::test::TempDir dir;
    kv::SqliteRegistryBackend backend(dir.path());
    kv::clsRegAccess registry(backend);
    const std::string key = "HKCU\\Software\\Kestrelyn Vormaplex";
    long counter = 0;
    for (auto _ : state) {
        const std::string value = "C:\\Profiles\\user" + std::to_string(counter++);
        registry.WriteString(key, "ProfilePath", value);
        if (registry.ReadString(key, "ProfilePath", "") != value)
            state.SkipWithError("read back a different value");
    }
}
BENCHMARK(BM_RegWriteReadString)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
