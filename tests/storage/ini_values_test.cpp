#include "storage/ini_values.h"

#include "common/temp_dir.h"
#include "storage_test_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kv::test {
namespace {

class IniValues : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path file = dir / "profile.ini";
};

TEST_F(IniValues, AbsentFileSectionOrKeyReadsEmpty)
{
    EXPECT_EQ(ReadIniValue("Main", "KEY", file), "");
    EXPECT_FALSE(std::filesystem::exists(file));
    WriteIniValue("Main", "KEY", "value", file);
    EXPECT_EQ(ReadIniValue("Other", "KEY", file), "");
    EXPECT_EQ(ReadIniValue("Main", "OTHER", file), "");
    EXPECT_EQ(ReadIniValue("Main", "KEY", dir / "missing" / "x.ini"), "");
}

TEST_F(IniValues, WriteThenReadIgnoresCaseOfSectionAndKey)
{
    WriteIniValue("Options", "ExitWarning", "1", file);
    EXPECT_EQ(ReadIniValue("OPTIONS", "exitwarning", file), "1");
    WriteIniValue("options", "EXITWARNING", "0", file);
    EXPECT_EQ(ReadIniValue("Options", "ExitWarning", file), "0");
    EXPECT_EQ(FileText(file), "[Options]\nExitWarning=0\n");
}

TEST_F(IniValues, ValuesRoundTripExactly)
{
    for (std::string_view value :
         {"", " padded ", "a=b=c", "\"quoted\"", "; not a comment", "[not a section]", "Grüße \xFF\x01"}) {
        WriteIniValue("S", "K", value, file);
        EXPECT_EQ(ReadIniValue("S", "K", file), value);
    }
}

TEST_F(IniValues, AbsentValueDeletesTheKeyOnly)
{
    WriteIniValue("BlackList", "1", "a.example", file);
    WriteIniValue("BlackList", "2", "b.example", file);
    WriteIniValue("BlackList", "1", std::nullopt, file);
    EXPECT_EQ(ReadIniValue("BlackList", "1", file), "");
    EXPECT_EQ(ReadIniValue("BlackList", "2", file), "b.example");
    EXPECT_EQ(CountSectionKeys("BlackList", file), 1);

    WriteIniValue("Nothing", "1", std::nullopt, dir / "never.ini");
    EXPECT_FALSE(std::filesystem::exists(dir / "never.ini"));
}

TEST_F(IniValues, DeleteSectionRemovesAllItsKeysAndNothingElse)
{
    WriteIniValue("BlackList", "1", "a", file);
    WriteIniValue("Main", "KEY", "kept", file);
    WriteIniValue("BlackList", "2", "b", file);
    DeleteIniSection("blacklist", file);
    EXPECT_EQ(ReadIniValue("BlackList", "2", file), "");
    EXPECT_EQ(CountSectionKeys("BlackList", file), 0);
    EXPECT_EQ(ReadIniValue("Main", "KEY", file), "kept");
}

TEST_F(IniValues, CountSectionKeys)
{
    EXPECT_EQ(CountSectionKeys("Missing", file), 0);
    for (int i = 1; i <= 5; ++i)
        WriteIniValue("BlackList", std::to_string(i), "x", file);
    EXPECT_EQ(CountSectionKeys("BLACKLIST", file), 5);
}

// The key list was read into 1 999 characters: names, each ended by a NUL, and a
// closing NUL; the name that no longer fits is cut, and counted while a character of it fits.
TEST_F(IniValues, CountSectionKeysStopsWhereTheKeyListBufferEnds)
{
    std::string text = "[Big]\n";
    for (int i = 0; i < 300; ++i)
        text += std::string(9, 'k') + std::to_string(i % 10) + std::to_string(i / 10 % 10) +
                std::to_string(i / 100) + "=1\n"; // 12-character names, 13 with their NUL
    WriteFileText(file, text);
    // 153 names take 1 989 characters; the 154th is cut to the 8 that fit before two NULs.
    EXPECT_EQ(CountSectionKeys("Big", file), 154);
}

// The list holds 1 999 characters: names with their NULs, then a closing NUL. A name that
// does not fit whole is cut to what fits before the two closing NULs, and counts when at
// least one character of it is left.
TEST_F(IniValues, CountSectionKeysAtTheLastCharactersOfTheKeyList)
{
    const auto section = [](std::vector<std::string> names) {
        std::string text = "[Edge]\n";
        for (const std::string& name : names)
            text += name + "=1\n";
        return text;
    };
    const std::string a(498, 'a'), b(498, 'b'), c(498, 'c'), d(498, 'd');
    // Four names of 498 take 1 996 characters: one character of "cut" still fits.
    WriteFileText(file, section({a, b, c, d, "cut"}));
    EXPECT_EQ(CountSectionKeys("Edge", file), 5);
    // One character more: nothing of it fits.
    WriteFileText(file, section({a, b, c, d + "d", "cut"}));
    EXPECT_EQ(CountSectionKeys("Edge", file), 4);
    // A fourth name of 500 fills the list exactly; the fifth is not there at all.
    WriteFileText(file, section({a, b, c, std::string(500, 'd'), "cut"}));
    EXPECT_EQ(CountSectionKeys("Edge", file), 4);
}

TEST_F(IniValues, PlainReadsStopAt19999Characters)
{
    const std::string longValue(25'000, 'v');
    WriteIniValue("S", "K", longValue, file);
    EXPECT_EQ(ReadIniValue("S", "K", file), longValue.substr(0, 19'999));
}

TEST_F(IniValues, LineBreaksInAValueCannotForgeKeys)
{
    WriteIniValue("S", "K", "first\r\n[Security]\nENCRYPTION KEY=forged", file);
    EXPECT_EQ(ReadIniValue("S", "K", file), "first");
    EXPECT_EQ(ReadIniValue("Security", "ENCRYPTION KEY", file), "");
}

TEST_F(IniValues, FilesAreOwnerOnly)
{
    WriteFileText(file, "[S]\nK=old\n");
    ::chmod(file.c_str(), 0644);
    WriteIniValue("S", "K", "new", file);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temp file left";
}

TEST_F(IniValues, AFileThatCannotBeReadIsNeverReplacedAndTheWriteSaysSo)
{
    std::filesystem::create_directory(file); // a folder where the file should be
    EXPECT_TRUE(WriteIniValue("S", "K", "value", file));
    EXPECT_TRUE(std::filesystem::is_directory(file));
    EXPECT_EQ(ReadIniValue("S", "K", file), "");

    const auto fifo = dir / "fifo.ini"; // would block a plain open for reading
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadIniValue("S", "K", fifo), "");
    EXPECT_TRUE(WriteIniValue("S", "K", "value", fifo));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(IniValues, WritingIntoAMissingFolderDoesNothingAndSaysSo)
{
    EXPECT_EQ(WriteIniValue("S", "K", "value", dir / "absent" / "x.ini"),
              std::errc::no_such_file_or_directory);
    EXPECT_FALSE(std::filesystem::exists(dir / "absent"));
    EXPECT_FALSE(WriteIniValue("S", "K", "value", file)) << "a write that worked reports nothing";
    EXPECT_FALSE(WriteIniValue("S", "Absent", std::nullopt, file)) << "nor does one with nothing to change";
}

// A name of 251 bytes plus ".QVR" is the longest a file may have; the temp file beside it
// must still fit, or every later change of that site would be lost.
TEST_F(IniValues, FilesWithTheLongestNamesCanBeRewritten)
{
    for (const std::size_t length : {244u, 251u}) {
        const auto site = dir / (std::string(length, 'n') + ".QVR");
        ASSERT_FALSE(WriteIniValue("Main", "FORMPASSVALUE", "first", site)) << length;
        ASSERT_FALSE(WriteIniValue("Main", "FORMPASSVALUE", "second", site)) << length;
        EXPECT_EQ(ReadIniValue("Main", "FORMPASSVALUE", site), "second") << length;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "no temp file left";
}

// Replacing a link would leave the old content where the link pointed, a password included.
TEST_F(IniValues, ALinkInTheFilesPlaceIsNeitherFollowedNorReplaced)
{
    const auto target = dir / "elsewhere.txt";
    WriteFileText(target, "[Main]\nFORMPASSVALUE=old password\n");
    const auto link = dir / "Bank.QVR";
    std::filesystem::create_symlink(target, link);

    EXPECT_EQ(WriteIniValue("Main", "FORMPASSVALUE", "new password", link),
              std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(DeleteIniSection("Main", link), std::errc::too_many_symbolic_link_levels);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(FileText(target), "[Main]\nFORMPASSVALUE=old password\n");
}

} // namespace
} // namespace kv::test
