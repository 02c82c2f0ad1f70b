// A writer killed at any moment leaves a file that parses, with every key holding
// either the value it had or the one being written.
#include "common/temp_dir.h"
#include "storage/ini_file.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kv::test {
namespace {

constexpr int kPlainKeys = 5;

std::string KeyName(int index)
{
    return "K" + std::to_string(index);
}

// Long enough that a torn write could not pass for a whole value.
std::string ValueOfRound(long round)
{
    return std::to_string(round) + ":" + std::string(400, static_cast<char>('a' + round % 26));
}

std::optional<long> RoundOf(const std::string& value)
{
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    const long round = std::stol(value.substr(0, colon));
    if (value != ValueOfRound(round))
        return std::nullopt;
    return round;
}

void WriteKey(int index, long round, const std::filesystem::path& file)
{
    if (index < kPlainKeys)
        WriteIniValue("Plain", KeyName(index), ValueOfRound(round), file);
    else
        WriteSecureValue("Secure", "V", ValueOfRound(round), file);
}

std::vector<long> StoredRounds(const std::filesystem::path& file);

// Each round writes K0..K4 in order, then the encrypted V, one atomic write each.
// A new writer goes on exactly where its killed predecessor stopped.
[[noreturn]] void WriteRoundsForever(const std::filesystem::path& file, int readyPipe)
{
    const std::vector<long> rounds = StoredRounds(file);
    const auto behind =
        std::find_if(rounds.begin(), rounds.end(), [&](long r) { return r < rounds.front(); });
    int index = behind == rounds.end() ? 0 : static_cast<int>(behind - rounds.begin());
    long round = behind == rounds.end() ? rounds.front() + 1 : rounds.front();
    const char ready = 'r';
    if (::write(readyPipe, &ready, 1) != 1)
        ::_exit(2);
    for (;;) {
        WriteKey(index, round, file);
        if (++index == kPlainKeys + 1) {
            index = 0;
            ++round;
        }
    }
}

// The rounds held by K0..K4 and V, in write order.
std::vector<long> StoredRounds(const std::filesystem::path& file)
{
    const auto ini = IniFile::load(file);
    EXPECT_TRUE(ini.has_value());
    EXPECT_EQ(ini->sectionNames(), (std::vector<std::string>{"Plain", "Secure"}));
    std::vector<long> rounds;
    for (int k = 0; k < kPlainKeys; ++k) {
        const auto round = RoundOf(std::string(ini->value("Plain", KeyName(k)).value_or("")));
        EXPECT_TRUE(round.has_value()) << KeyName(k);
        rounds.push_back(round.value_or(-1));
    }
    const auto secure = ReadSecureValue("Secure", "V", file);
    EXPECT_TRUE(secure.has_value());
    const auto round = RoundOf(secure.value_or(""));
    EXPECT_TRUE(round.has_value()) << "V";
    rounds.push_back(round.value_or(-1));
    return rounds;
}

TEST(CrashSafety, WriterKilledAtRandomMomentsNeverLeavesAHalfWrittenFile)
{
    TempDir dir;
    const auto file = dir / "site.QVR";
    SetCipherKeys({MachineKey("1"), ValueKey("1", "ABCDEFGHIJKLMNOPQRSTUVWXY")});
    for (int k = 0; k <= kPlainKeys; ++k)
        WriteKey(k, 0, file);

    std::mt19937 random(4242);
    std::uniform_int_distribution<int> delayMicroseconds(0, 30000);
    std::vector<long> before = StoredRounds(file);
    for (int kill = 0; kill < 200; ++kill) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            ::close(ready[0]);
            WriteRoundsForever(file, ready[1]);
        }
        ::close(ready[1]);
        char started = 0;
        const bool writerStarted = ::read(ready[0], &started, 1) == 1;
        ::close(ready[0]);
        if (writerStarted)
            std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(writerStarted) << "the writer failed before its first write";
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::vector<long> after = StoredRounds(file);
        ASSERT_EQ(after.size(), before.size());
        // Values fall by at most one round along the write order, and never go back.
        EXPECT_TRUE(std::is_sorted(after.rbegin(), after.rend())) << "kill " << kill;
        EXPECT_LE(after.front() - after.back(), 1) << "kill " << kill;
        for (std::size_t i = 0; i < after.size(); ++i)
            EXPECT_GE(after[i], before[i]) << "kill " << kill;
        if (::testing::Test::HasFailure())
            break;
        before = after;
    }
    EXPECT_GT(before.front(), 5) << "too few writes finished between the kills to prove anything";
    SetCipherKeys({});
}

} // namespace
} // namespace kv::test
