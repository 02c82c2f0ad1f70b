// File names made from outside text.
#include "common/temp_dir.h"
#include "tools/site_file_name.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kv {
namespace {

TEST(SafeFileName, NeverAPathOrHiddenOrTooLong)
{
    EXPECT_EQ(SafeFileName("../../x"), "_._.._x");
    EXPECT_EQ(SafeFileName(".."), "_.");
    EXPECT_EQ(SafeFileName(""), "_");
    EXPECT_EQ(SafeFileName(std::string("a\0b/c\\d:e*f?g\"h<i>j|k\tl", 23)), "a_b_c_d_e_f_g_h_i_j_k_l");
    EXPECT_EQ(SafeFileName("Ünïcødé stays"), "Ünïcødé stays");
    // Cut at a character boundary, room left for what follows.
    const std::string euros(100, 'x');
    std::string name = euros;
    for (int i = 0; i < 100; ++i)
        name += "\u20AC";
    const std::string cut = SafeFileName(name, 4);
    EXPECT_EQ(cut.size(), 100u + 50 * 3);
    EXPECT_LE(SafeFileName(std::string(400, 'a'), 8).size(), 247u);
}

TEST(UniqueSiteFile, NumbersNamesTakenInTheRunOrOnDisk)
{
    test::TempDir dir;
    std::ofstream(dir / "Bank.QVR").put('\n');
    std::set<std::string> taken;
    EXPECT_EQ(UniqueSiteFile(dir.path(), "Bank", taken, ExistingFiles::Keep), dir / "Bank (2).QVR");
    EXPECT_EQ(UniqueSiteFile(dir.path(), "Bank", taken, ExistingFiles::Keep), dir / "Bank (3).QVR");
    std::set<std::string> replacing;
    EXPECT_EQ(UniqueSiteFile(dir.path(), "Bank", replacing, ExistingFiles::Replace), dir / "Bank.QVR");
    EXPECT_EQ(UniqueSiteFile(dir.path(), "Bank", replacing, ExistingFiles::Replace), dir / "Bank (2).QVR");
    EXPECT_EQ(UniqueSiteFile(dir.path(), "a/b", replacing, ExistingFiles::Replace), dir / "a_b.QVR");
}

} // namespace
} // namespace kv
