#include "support/reg_path.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(RegPath, RootIsTheFirstPieceInFullOrAbbreviatedForm)
{
    EXPECT_EQ(ResolveRegPath("hkcu\\Software\\X").root, kHKeyCurrentUser);
    EXPECT_EQ(ResolveRegPath("HKEY_CURRENT_USER\\Software\\X").subPath, "Software\\X");
    EXPECT_EQ(ResolveRegPath("Hkey_Classes_Root\\.qvr").root, kHKeyClassesRoot);
    EXPECT_EQ(ResolveRegPath("HKUS\\x").root, kHKeyUsers);
    EXPECT_EQ(ResolveRegPath("HKCC").root, kHKeyCurrentConfig);
    EXPECT_EQ(ResolveRegPath("HKPD\\x").root, kHKeyPerformanceData);
    EXPECT_EQ(ResolveRegPath("HKEY_DYN_DATA").root, kHKeyDynData);

    const RegPath root = ResolveRegPath("HKLM");
    EXPECT_EQ(root.root, kHKeyLocalMachine);
    EXPECT_EQ(root.subPath, "");
}

TEST(RegPath, AnythingElseIsNoRoot)
{
    for (const char* path :
         {"HKCUX\\Software", "HKEY_CURRENT_USERS\\x", "HKU\\x", "Software\\X", "", "\\HKCU"})
        EXPECT_EQ(ResolveRegPath(path).root, 0u) << path;
}

TEST(RegPath, FullRootNameReplacesOnlyTheRoot)
{
    EXPECT_EQ(WithFullRootName("hklm\\SOFTWARE\\HKCU"), "HKEY_LOCAL_MACHINE\\SOFTWARE\\HKCU");
    EXPECT_EQ(WithFullRootName("HKEY_USERS\\x"), "HKEY_USERS\\x");
    EXPECT_EQ(WithFullRootName("HKCC"), "HKEY_CURRENT_CONFIG");
    EXPECT_EQ(WithFullRootName("Other\\x"), "Other\\x");
}

} // namespace
} // namespace kv::test
