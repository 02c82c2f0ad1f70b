// Temp files of interrupted writes: which names are ours, and the sweep at start-up.
#include "common/temp_dir.h"
#include "storage/temp_files.h"
#include "storage_test_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

TEST(TempFiles, OwnNamesAreTheTemplateAndThoseOfEarlierVersions)
{
    for (const char* ours : {".kv-Ab12Cd", ".Mail.QVR.Ab12Cd", ".alice.ini.x1Y2z3",
                             "..site-being-saved.aaaaaa", ".site-being-saved"})
        EXPECT_TRUE(IsOwnTempFileName(ours)) << ours;
    for (const char* theirs : {".kv-Ab12C", ".kv-Ab12Cd.bak", ".Mail.QVR.Ab12C", ".Mail.QVR.Ab-2Cd",
                               "Mail.QVR", ".Mail.QVR", ".bashrc.Ab12Cd", ".hidden", "x.kv-Ab12Cd"})
        EXPECT_FALSE(IsOwnTempFileName(theirs)) << theirs;
    const std::string name = fs::path(TempFileTemplate("/p/Mail")).filename().string();
    EXPECT_EQ(name, ".kv-XXXXXX");
    EXPECT_LT(name.size(), 16u) << "room for it beside a file of the longest name";
}

// Makes the file look last changed age ago.
void SetAge(const fs::path& file, std::chrono::seconds age)
{
    const std::time_t when = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now() - age);
    const timespec times[2] = {{when, 0}, {when, 0}};
    utimensat(AT_FDCWD, file.c_str(), times, 0);
}

class StaleTempFiles : public testing::Test {
protected:
    fs::path make(const fs::path& relative, std::chrono::seconds age)
    {
        const fs::path file = dir / relative;
        fs::create_directories(file.parent_path());
        WriteFileText(file, "[Main]\n");
        SetAge(file, age);
        return file;
    }
    std::vector<std::string> left() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            if (!entry.is_directory())
                names.push_back(fs::relative(entry.path(), dir.path()).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
};

TEST_F(StaleTempFiles, OnlyOursOlderThanTheLimitGoInEveryFolder)
{
    using std::chrono::seconds;
    make(".kv-Ab12Cd", seconds(120));
    make("Mail/Work/.Inbox.QVR.Ab12Cd", seconds(3600));
    make("Mail/.site-being-saved", seconds(120));
    make("Mail/.kv-Xy34Zw", seconds(5));        // a write in progress
    make("Mail/Inbox.QVR", seconds(3600));      // a site
    make(".bashrc", seconds(3600));             // not ours
    make("Mail/.Inbox.QVR.bak", seconds(3600)); // not ours either
    RemoveStaleTempFiles(dir.path(), seconds(60));
    EXPECT_EQ(left(), (std::vector<std::string>{".bashrc", "Mail/.Inbox.QVR.bak", "Mail/.kv-Xy34Zw",
                                                "Mail/Inbox.QVR"}));
}

TEST_F(StaleTempFiles, LinksAreNeitherFollowedNorRemoved)
{
    TempDir outside;
    const fs::path elsewhere = outside / ".kv-Ab12Cd";
    WriteFileText(elsewhere, "theirs");
    SetAge(elsewhere, std::chrono::hours(1));
    fs::create_directory_symlink(outside.path(), dir / "linked folder");
    fs::create_symlink(elsewhere, dir / ".kv-Zz99Zz");
    RemoveStaleTempFiles(dir.path(), std::chrono::seconds(60));
    EXPECT_TRUE(fs::exists(elsewhere));
    EXPECT_TRUE(fs::is_symlink(dir / ".kv-Zz99Zz"));
}

} // namespace
} // namespace kv::test
