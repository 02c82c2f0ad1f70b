// Swapping the downloaded files in: the executable with its backup, then the helpers.
#include "common/temp_dir.h"
#include "storage/storage_test_files.h"
#include "update/update_installation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace kv {
namespace {

using test::TempDir;

mode_t ModeOf(const std::filesystem::path& file)
{
    struct stat info {};
    stat(file.c_str(), &info);
    return info.st_mode & 07777;
}

class Installation : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteFileText(program, "old program");
        chmod(program.c_str(), 0750);
        test::WriteFileText(DownloadPathFor(program), "new program");
        test::WriteFileText(folder / "data.bin", "old data");
        chmod((folder / "data.bin").c_str(), 0600);
        test::WriteFileText(DownloadPathFor(folder / "data.bin"), "new data");
        test::WriteFileText(DownloadPathFor(folder / "added.txt"), "added");
    }

    TempDir folder;
    const std::filesystem::path program = folder / "kestrelyn-vormaplex";
};

TEST_F(Installation, SwapsEveryFileInAndKeepsTheOldProgramAsBackup)
{
    EXPECT_FALSE(InstallUpdate(program, {folder / "data.bin", folder / "added.txt"}));

    EXPECT_EQ(test::FileText(program), "new program");
    EXPECT_EQ(test::FileText(folder / "kestrelyn-vormaplex.backup"), "old program");
    EXPECT_EQ(test::FileText(folder / "data.bin"), "new data");
    EXPECT_EQ(test::FileText(folder / "added.txt"), "added");
    EXPECT_EQ(ModeOf(program), 0750u) << "the new program runs like the old one";
    EXPECT_EQ(ModeOf(folder / "data.bin"), 0600u);
    EXPECT_EQ(ModeOf(folder / "added.txt"), 0644u);
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        EXPECT_NE(entry.path().extension(), ".new") << entry.path();
}

TEST_F(Installation, AnOlderBackupIsReplaced)
{
    test::WriteFileText(BackupPathFor(program), "ancient program");

    EXPECT_FALSE(InstallUpdate(program, {}));

    EXPECT_EQ(test::FileText(BackupPathFor(program)), "old program");
}

TEST_F(Installation, ATargetThatIsNoFileStopsItBeforeAnySwap)
{
    std::filesystem::create_directory(folder / "taken");
    test::WriteFileText(DownloadPathFor(folder / "taken"), "would replace a folder");

    EXPECT_EQ(InstallUpdate(program, {folder / "data.bin", folder / "taken"}), std::errc::is_a_directory);

    EXPECT_EQ(test::FileText(program), "old program");
    EXPECT_EQ(test::FileText(folder / "data.bin"), "old data");
    EXPECT_FALSE(std::filesystem::exists(BackupPathFor(program)));
}

TEST_F(Installation, AMissingDownloadStopsItBeforeAnySwap)
{
    EXPECT_TRUE(InstallUpdate(program, {folder / "data.bin", folder / "never-downloaded"}));

    EXPECT_EQ(test::FileText(program), "old program");
    EXPECT_EQ(test::FileText(folder / "data.bin"), "old data");
}

TEST_F(Installation, RemovingDownloadsLeavesTheInstalledFilesAlone)
{
    RemoveDownloads(program, {folder / "data.bin", folder / "added.txt", folder / "none"});

    EXPECT_FALSE(std::filesystem::exists(DownloadPathFor(program)));
    EXPECT_FALSE(std::filesystem::exists(DownloadPathFor(folder / "data.bin")));
    EXPECT_FALSE(std::filesystem::exists(DownloadPathFor(folder / "added.txt")));
    EXPECT_EQ(test::FileText(program), "old program");
    EXPECT_EQ(test::FileText(folder / "data.bin"), "old data");
}

} // namespace
} // namespace kv
