// Which downloads count as a program for this machine.
#include "common/temp_dir.h"
#include "update/executable_check.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace kv {
namespace {

using test::TempDir;

std::string OwnHeader()
{
    std::ifstream in("/proc/self/exe", std::ios::binary);
    std::string header(64, '\0');
    in.read(header.data(), 64);
    return header;
}

class ExecutableCheck : public ::testing::Test {
protected:
    std::filesystem::path write(const std::string& name, const std::string& bytes)
    {
        const auto file = folder / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

    TempDir folder;
    const std::optional<ElfIdentity> machine = ThisMachine();
};

TEST_F(ExecutableCheck, AProgramBuiltForThisMachinePasses)
{
    ASSERT_TRUE(machine);
    EXPECT_EQ(IsExecutableFor(write("same", OwnHeader() + "rest of the program"), *machine), true);
    EXPECT_EQ(IsExecutableFor("/proc/self/exe", *machine), true);
}

TEST_F(ExecutableCheck, AnythingElseIsRefused)
{
    ASSERT_TRUE(machine);
    const std::string own = OwnHeader();
    auto changed = [&own](std::size_t at, unsigned char value) {
        std::string header = own;
        header[at] = static_cast<char>(value);
        return header;
    };
    const bool little = own[5] == 1;
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"a text file", "#!/bin/sh\necho hello\n"},
        {"a Windows program", "MZ" + std::string(200, '\0')},
        {"the other class", changed(4, own[4] == 2 ? 1 : 2)},
        {"the other byte order", changed(5, little ? 2 : 1)},
        {"another machine",
         changed(little ? 18 : 19, static_cast<unsigned char>(own[little ? 18 : 19] ^ 0x55))},
        {"an object file", changed(little ? 16 : 17, 1)},
        {"a core dump", changed(little ? 16 : 17, 4)},
        {"a cut header", own.substr(0, 40)},
        {"an empty file", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsExecutableFor(write("candidate", c.bytes), *machine), false);
    }
}

TEST_F(ExecutableCheck, AFileThatCannotBeReadIsAnError)
{
    ASSERT_TRUE(machine);
    const auto missing = IsExecutableFor(folder / "missing", *machine);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), std::errc::no_such_file_or_directory);
}

} // namespace
} // namespace kv
