#include "common/temp_dir.h"
#include "platform/freedesktop_trash.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kv::test {
namespace {

std::string Contents(const fs::path& file)
{
    std::stringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

void Write(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// The Path line of a trash info file, checked for the format every trash viewer reads.
std::string InfoPath(const fs::path& infoFile)
{
    const std::string info = Contents(infoFile);
    std::smatch found;
    EXPECT_TRUE(std::regex_match(info, found,
                                 std::regex("\\[Trash Info\\]\nPath=([^\n]+)\n"
                                            "DeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n")))
        << info;
    return found.size() > 1 ? found[1].str() : std::string();
}

unsigned Mode(const fs::path& path)
{
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

struct FreedesktopTrashTest : ::testing::Test {
    TempDir root;
    fs::path home = root / "data" / "Trash";
    FreedesktopTrash trash{home};
};

TEST_F(FreedesktopTrashTest, ATrashedSiteCanBeFoundAgainWithItsOriginalPlace)
{
    const fs::path site = root / "profile" / "Café Bank (old) 100%.QVR";
    Write(site, "[Main]\n");

    ASSERT_TRUE(trash.moveToTrash(site));

    EXPECT_FALSE(fs::exists(site));
    EXPECT_EQ(Contents(home / "files" / "Café Bank (old) 100%.QVR"), "[Main]\n");
    EXPECT_EQ(InfoPath(home / "info" / "Café Bank (old) 100%.QVR.trashinfo"), TrashInfoPath(site));
    EXPECT_EQ(TrashInfoPath("/p/Café Bank (old) 100%.QVR"), "/p/Caf%C3%A9%20Bank%20%28old%29%20100%25.QVR");
    EXPECT_EQ(Mode(home), 0700u) << "a trash made for the user is the user's alone";
    EXPECT_EQ(Mode(home / "files"), 0700u);
}

TEST_F(FreedesktopTrashTest, SameNamesNeverReplaceEachOtherAndFoldersGoWhole)
{
    Write(root / "a" / "Bank.QVR", "first");
    Write(root / "b" / "Bank.QVR", "second");
    Write(root / "a" / "Shop" / "Deep" / "Store.QVR", "store");
    fs::create_directories(root / "b" / "Shop");
    // Something already in the trash without an info file still keeps its name.
    fs::create_directories(home / "files" / "Shop.2");
    fs::create_directories(home / "info");

    ASSERT_TRUE(trash.moveToTrash(root / "a" / "Bank.QVR"));
    ASSERT_TRUE(trash.moveToTrash(root / "b" / "Bank.QVR"));
    ASSERT_TRUE(trash.moveToTrash(root / "a" / "Shop"));
    ASSERT_TRUE(trash.moveToTrash(root / "b" / "Shop"));

    EXPECT_EQ(Contents(home / "files" / "Bank.QVR"), "first");
    EXPECT_EQ(Contents(home / "files" / "Bank.2.QVR"), "second");
    EXPECT_EQ(InfoPath(home / "info" / "Bank.2.QVR.trashinfo"), TrashInfoPath(root / "b" / "Bank.QVR"));
    EXPECT_EQ(Contents(home / "files" / "Shop" / "Deep" / "Store.QVR"), "store");
    EXPECT_TRUE(fs::is_empty(home / "files" / "Shop.3"));
    EXPECT_EQ(InfoPath(home / "info" / "Shop.3.trashinfo"), TrashInfoPath(root / "b" / "Shop"));
    EXPECT_FALSE(fs::exists(home / "info" / "Shop.2.trashinfo"));
    EXPECT_FALSE(fs::exists(root / "a" / "Shop"));
}

TEST_F(FreedesktopTrashTest, WhatCannotBeTrashedStaysWhereItWas)
{
    EXPECT_FALSE(trash.moveToTrash(root / "missing.QVR"));

    // A trash folder that is a link may lead anywhere: it is not used.
    Write(root / "profile" / "Bank.QVR", "kept");
    fs::create_directories(root / "elsewhere");
    fs::create_directories(home.parent_path());
    fs::create_directory_symlink(root / "elsewhere", home);
    FreedesktopTrash linked{home};
    EXPECT_FALSE(linked.moveToTrash(root / "profile" / "Bank.QVR"));
    EXPECT_TRUE(fs::is_empty(root / "elsewhere"));
    EXPECT_EQ(Contents(root / "profile" / "Bank.QVR"), "kept");
}

// Another filesystem is emptied into the trash at its own top, never copied across.
TEST(FreedesktopTrashOtherFilesystem, UsesTheTrashAtTheTopOfThatFilesystem)
{
    TempDir homeSide;
    struct stat here {
    }, shm{};
    if (::stat(homeSide.path().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        here.st_dev == shm.st_dev || ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "needs /dev/shm as a second, writable filesystem";
    struct stat shared {};
    if (::lstat("/dev/shm/.Trash", &shared) == 0)
        GTEST_SKIP() << "/dev/shm has a shared trash of its own";

    const fs::path topTrash = "/dev/shm/.Trash-" + std::to_string(::geteuid());
    const bool hadTopTrash = fs::exists(topTrash);
    std::string folder = "/dev/shm/kv-trash-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const fs::path site = fs::path(folder) / ("Bank " + fs::path(folder).filename().string() + ".QVR");
    Write(site, "on another disk");

    FreedesktopTrash trash{homeSide / "Trash"};
    const bool moved = trash.moveToTrash(site);
    const fs::path trashed = topTrash / "files" / site.filename();
    const std::string contents = Contents(trashed);
    const std::string path = InfoPath(topTrash / "info" / (site.filename().string() + ".trashinfo"));
    const unsigned mode = Mode(topTrash);
    std::error_code ignored;
    fs::remove(trashed, ignored);
    fs::remove(topTrash / "info" / (site.filename().string() + ".trashinfo"), ignored);
    fs::remove_all(folder, ignored);
    if (!hadTopTrash)
        fs::remove_all(topTrash, ignored);

    ASSERT_TRUE(moved);
    EXPECT_EQ(contents, "on another disk");
    EXPECT_EQ(path, TrashInfoPath(site));
    EXPECT_EQ(mode, 0700u);
    EXPECT_FALSE(fs::exists(homeSide / "Trash" / "files" / site.filename()));
}

} // namespace
} // namespace kv::test
