// The cipher against OpenSSL's Blowfish, and one encrypted read from a site file.
#include "common/temp_dir.h"
#include "storage/blowfish.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"

#include <benchmark/benchmark.h>

#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/blowfish.h>

#include <string>

namespace {

const std::string kKey = kv::ProgramKeyConstant(); // 98 characters

const unsigned char* KeyBytes()
{
    return reinterpret_cast<const unsigned char*>(kKey.data());
}

void BM_BlowfishCbcEncrypt(benchmark::State& state)
{
    kv::clsBlowfish cipher;
    cipher.Key(kKey);
    std::string buffer(static_cast<std::size_t>(state.range(0)), 'x');
    for (auto _ : state) {
        cipher.EncryptBlocks(buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BlowfishCbcEncrypt)->Arg(65536);

void BM_OpenSslBfCbcEncrypt(benchmark::State& state)
{
    BF_KEY schedule;
    BF_set_key(&schedule, static_cast<int>(kKey.size()), KeyBytes());
    std::string buffer(static_cast<std::size_t>(state.range(0)), 'x');
    auto* bytes = reinterpret_cast<unsigned char*>(buffer.data());
    for (auto _ : state) {
        unsigned char iv[8] = {};
        BF_cbc_encrypt(bytes, bytes, static_cast<long>(buffer.size()), &schedule, iv, BF_ENCRYPT);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OpenSslBfCbcEncrypt)->Arg(65536);

void BM_BlowfishKeySchedule(benchmark::State& state)
{
    for (auto _ : state) {
        kv::clsBlowfish cipher;
        cipher.Key(kKey);
        benchmark::DoNotOptimize(cipher);
    }
}
BENCHMARK(BM_BlowfishKeySchedule);

void BM_OpenSslBfSetKey(benchmark::State& state)
{
    for (auto _ : state) {
        BF_KEY schedule;
        BF_set_key(&schedule, static_cast<int>(kKey.size()), KeyBytes());
        benchmark::DoNotOptimize(schedule);
    }
}
BENCHMARK(BM_OpenSslBfSetKey);

// One value of a site file with all 14 "Main" keys and a success count.
void BM_ReadSecureValue(benchmark::State& state)
{
    const std::string serial = kv::VolumeSerialPart(0x5EC0DE42);
    kv::SetCipherKeys({kv::MachineKey(serial), kv::ValueKey(serial, "ABCDEFGHIJKLMNOPQRSTUVWXY")});
    kv::test::TempDir dir;
    const auto site = dir / "Example Mail.QVR";
    for (std::string_view key : kv::kMainKeys)
        kv::WriteSecureValue(kv::kMainSection, key,
                             "https://mail.example.com/login?next=%2Finbox&" + std::string(key), site);
    kv::WriteSecureValue(kv::kStatsSection, kv::SUCCESS, "42", site);
    for (auto _ : state) {
        auto value = kv::ReadSecureValue(kv::kMainSection, kv::FORMPASSVALUE, site);
        if (!value)
            state.SkipWithError("the value did not decrypt");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ReadSecureValue);

} // namespace

BENCHMARK_MAIN();
