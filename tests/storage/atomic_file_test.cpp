// Files replaced whole, alone or many at once.
#include "common/temp_dir.h"
#include "storage/atomic_file.h"
#include "storage_test_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kv {
namespace {

using test::FileText;
using test::TempDir;

std::size_t EntriesIn(const std::filesystem::path& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(AtomicFileBatch, PutsEveryFileInPlaceOwnerOnlyWithNothingLeftBehind)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    test::WriteFileText(dir / "f0", "old");
    AtomicFileBatch batch;
    const std::size_t count = AtomicFileBatch::kFilesPerFlush + 3; // more than one flush
    for (std::size_t i = 0; i < count; ++i)
        ASSERT_TRUE(batch.add((i % 2 ? dir / "sub" : dir.path()) / ("f" + std::to_string(i)),
                              "text " + std::to_string(i)));
    EXPECT_TRUE(batch.commit().empty());
    EXPECT_EQ(EntriesIn(dir.path()) + EntriesIn(dir / "sub"), count + 1); // the files and "sub"
    EXPECT_EQ(FileText(dir / "f0"), "text 0");
    EXPECT_EQ(FileText(dir / "sub" / "f7"), "text 7");
    struct stat info {};
    ASSERT_EQ(::stat((dir / "f0").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(AtomicFileBatch, AFileThatCannotBeWrittenFailsAloneAndUncommittedWorkVanishes)
{
    TempDir dir;
    {
        AtomicFileBatch batch;
        EXPECT_FALSE(batch.add(dir / "missing" / "f", "x"));
        ASSERT_TRUE(batch.add(dir / "kept", "x"));
        EXPECT_TRUE(batch.commit().empty());
        ASSERT_TRUE(batch.add(dir / "dropped", "x"));
    }
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir / "kept"));
}

TEST(AtomicFileBatch, ARenameThatFailsIsReported)
{
    TempDir dir;
    AtomicFileBatch batch;
    ASSERT_TRUE(batch.add(dir / "target", "a file where a folder with content is"));
    // A folder in the file's place is refused at once; one that appears later fails the rename.
    std::filesystem::create_directories(dir / "target" / "occupied");
    EXPECT_EQ(batch.add(dir / "target", "x").error(), std::errc::invalid_argument);
    const auto failures = batch.commit();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].file, dir / "target");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "target"));
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

} // namespace
} // namespace kv
