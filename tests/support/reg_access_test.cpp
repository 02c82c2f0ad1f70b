#include "registry_fixture.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

constexpr const char* kKey = "HKCU\\Software\\Kestrelyn Vormaplex";

TEST(RegAccess, RootNamesInAnyFormReachTheSameKey)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    ASSERT_NE(reg.WriteString("hkcu\\Software\\X", "v", "one"), 0);

    EXPECT_EQ(reg.ReadString("HKCU\\Software\\X", "v", "-"), "one");
    EXPECT_EQ(reg.ReadString("HKEY_CURRENT_USER\\Software\\X", "v", "-"), "one");
    EXPECT_EQ(reg.ReadString("hkey_current_user\\SOFTWARE\\x", "V", "-"), "one");
    EXPECT_EQ(reg.ReadString("HKLM\\Software\\X", "v", "-"), "-");
}

TEST(RegAccess, RootAloneNamesTheRootKey)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    reg.CreateKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\b");
    reg.CreateKey("HKLM\\Hardware");

    std::vector<std::string> names;
    EXPECT_EQ(reg.EnumKeys("HKLM", names), 2);
    EXPECT_EQ(names, (std::vector<std::string>{"Hardware", "SOFTWARE"}));
    EXPECT_TRUE(reg.HaveSubkey("hklm"));
    EXPECT_NE(reg.WriteDWORD("HKLM", "atRoot", 3), 0);
    EXPECT_EQ(reg.ReadDWORD("HKEY_LOCAL_MACHINE", "atRoot", 0), 3);
}

TEST(RegAccess, RootsWithoutAStoreNeverOpen)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    for (const char* path : {"HKPD\\X", "HKEY_DYN_DATA\\X", "HKXX\\X", "HKCUX\\X", "\\Software\\X", ""}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(reg.CreateKey(path), 0);
        EXPECT_EQ(reg.WriteString(path, "v", "s"), 0);
        EXPECT_FALSE(reg.KeyExists(path));
        std::vector<std::string> names{"stale"};
        EXPECT_EQ(reg.EnumKeys(path, names), -1);
        EXPECT_TRUE(names.empty());
        EXPECT_EQ(reg.ReadString(path, "v", "dflt"), "dflt");
    }
}

TEST(RegAccess, WritesCreateMissingKeysOnlyWhenAllowed)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    reg.CreateKeyIfDoesntExists = false;
    EXPECT_EQ(reg.WriteString("HKCU\\A\\B", "v", "s"), 0);
    EXPECT_EQ(reg.WriteDWORD("HKCU\\A\\B", "d", 1), 0);
    EXPECT_EQ(reg.WriteBinary("HKCU\\A\\B", "b", "01"), 0);
    EXPECT_FALSE(reg.KeyExists("HKCU\\A"));

    reg.CreateKeyIfDoesntExists = true;
    EXPECT_NE(reg.WriteString("HKCU\\A\\B", "v", "s"), 0);
    EXPECT_TRUE(reg.KeyExists("HKCU\\A\\B"));
    EXPECT_EQ(reg.ReadString("HKCU\\A\\B", "v", ""), "s");
}

TEST(RegAccess, AtSignWritesTheDefaultValue)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    ASSERT_NE(reg.WriteString(kKey, "@", "the default"), 0);

    EXPECT_EQ(reg.ReadString(kKey, "", "-"), "the default");
    EXPECT_FALSE(reg.ValueExists(kKey, "@"));
    EXPECT_TRUE(reg.ValueExists(kKey, ""));
    EXPECT_NE(reg.KillValue(kKey, ""), 0);
    EXPECT_EQ(reg.ReadString(kKey, "", "-"), "-");
}

TEST(RegAccess, StringsReadThroughA255ByteBuffer)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    reg.WriteString(kKey, "fits", std::string(254, 'x'));
    reg.WriteString(kKey, "long", std::string(255, 'x'));
    reg.WriteString(kKey, "empty", "");

    EXPECT_EQ(reg.ReadString(kKey, "fits", "dflt"), std::string(254, 'x'));
    EXPECT_EQ(reg.ReadString(kKey, "long", "dflt"), "dflt");
    EXPECT_EQ(reg.ReadString(kKey, "empty", "dflt"), "");
    EXPECT_EQ(reg.ReadString(kKey, "missing", "dflt"), "dflt");
    EXPECT_EQ(reg.ReadString("HKCU\\No\\Such\\Key", "fits", "dflt"), "dflt");
}

TEST(RegAccess, DwordsAndBinariesRoundTrip)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    ASSERT_NE(reg.WriteDWORD(kKey, "neg", -2), 0);
    ASSERT_NE(reg.WriteBinary(kKey, "bin", "4a 00 ff"), 0);
    ASSERT_NE(reg.WriteBinary(kKey, "none", ""), 0);
    reg.WriteString(kKey, "text", "longer than four");

    EXPECT_EQ(reg.ReadDWORD(kKey, "neg", 0), -2);
    EXPECT_EQ(reg.ReadDWORD(kKey, "missing", 77), 77);
    EXPECT_EQ(reg.ReadDWORD(kKey, "text", 77), 77);
    EXPECT_EQ(reg.ReadBinary(kKey, "bin", "-"), "4A 00 FF");
    EXPECT_TRUE(reg.ValueExists(kKey, "none"));
    EXPECT_EQ(reg.ReadBinary(kKey, "none", "-"), "");
    EXPECT_EQ(reg.ReadBinary(kKey, "missing", "-"), "-");
}

TEST(RegAccess, ValueNamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    reg.WriteString(kKey, "ProfilePath", "/a");
    reg.WriteString(kKey, "PROFILEPATH", "/b");

    std::vector<std::string> names;
    std::vector<RegValue> values;
    ASSERT_EQ(reg.EnumValues(kKey, names, values, -1), 1);
    EXPECT_EQ(names[0], "ProfilePath");
    EXPECT_EQ(std::get<std::string>(values[0]), "/b");
}

TEST(RegAccess, EnumValuesKeepsWriteOrderAndFiltersByType)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    reg.WriteString(kKey, "z", "first");
    reg.WriteDWORD(kKey, "a", 10);
    reg.WriteBinary(kKey, "m", "01 02");
    reg.WriteString(kKey, "long", std::string(300, 'y'));
    reg.WriteString(kKey, "z", "rewritten");
    reg.WriteBinary(kKey, "empty", "");

    std::vector<std::string> names;
    std::vector<RegValue> values;
    ASSERT_EQ(reg.EnumValues(kKey, names, values, -1), 5);
    EXPECT_EQ(names, (std::vector<std::string>{"z", "a", "m", "long", "empty"}));
    EXPECT_EQ(values[0], RegValue{std::string("rewritten")});
    EXPECT_EQ(values[1], RegValue{std::int32_t{10}});
    EXPECT_EQ(values[2], RegValue{std::string("01 02")});
    EXPECT_EQ(values[3], RegValue{std::string()});
    EXPECT_EQ(values[4], RegValue{std::string()});

    ASSERT_EQ(reg.EnumValues(kKey, names, values, 4), 1);
    EXPECT_EQ(names[0], "a");
    EXPECT_EQ(reg.EnumValues("HKCU\\Missing", names, values, -1), -1);
}

TEST(RegAccess, EnumValuesGivesNamesAsStoredAndWholeBinaries)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    reg.WriteString(kKey, " padded ", "p");
    reg.WriteString(kKey, "padded", "q");
    std::string longHex;
    for (int i = 0; i < 300; ++i)
        longHex += " 5A";
    reg.WriteBinary(kKey, "long", longHex);

    std::vector<std::string> names;
    std::vector<RegValue> values;
    ASSERT_EQ(reg.EnumValues(kKey, names, values, -1), 3);
    EXPECT_EQ(names[0], " padded ");
    EXPECT_EQ(values[0], RegValue{std::string("p")});
    EXPECT_EQ(values[2], RegValue{longHex.substr(1)});
}

TEST(RegAccess, SubKeysEnumerateInUpperCaseOrder)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    for (const char* name : {"b", "_under", "C", "A", "a2"})
        reg.CreateKey(std::string(kKey) + "\\" + name);

    std::vector<std::string> names;
    ASSERT_EQ(reg.EnumKeys(kKey, names), 5);
    // '_' sorts after the letters once they are upper-cased.
    EXPECT_EQ(names, (std::vector<std::string>{"A", "a2", "b", "C", "_under"}));
    EXPECT_TRUE(reg.HaveSubkey(kKey));
    EXPECT_FALSE(reg.HaveSubkey(std::string(kKey) + "\\A"));
    EXPECT_FALSE(reg.HaveSubkey("HKCU\\Missing"));
}

TEST(RegAccess, KillKeyRefusesKeysWithSubKeysButAnswersTheOpen)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    reg.WriteString("HKCU\\P\\C", "v", "s");

    EXPECT_NE(reg.KillKey("HKCU\\P"), 0);
    EXPECT_TRUE(reg.KeyExists("HKCU\\P\\C"));
    EXPECT_NE(reg.KillKey("HKCU\\P\\C"), 0);
    EXPECT_FALSE(reg.KeyExists("HKCU\\P\\C"));
    EXPECT_NE(reg.KillKey("HKCU\\P"), 0);
    EXPECT_FALSE(reg.KeyExists("HKCU\\P"));
    EXPECT_EQ(reg.KillKey("HKCU\\P"), 0);
    EXPECT_EQ(reg.KillValue("HKCU\\P", "v"), 0);
}

TEST(RegAccess, KeyNamesContainingRootNamesAreLeftAlone)
{
    TempRegistry temp;
    clsRegAccess& reg = temp.registry();
    reg.WriteString("HKCU\\Software\\HKEY_USERS", "v", "s");

    EXPECT_FALSE(reg.KeyExists("HKCU\\Software\\HKUS"));
    std::vector<std::string> names;
    reg.EnumKeys("HKCU\\Software", names);
    EXPECT_EQ(names, std::vector<std::string>{"HKEY_USERS"});
}

TEST(RegAccess, ValuesOutliveTheInstanceThatWroteThem)
{
    TempDir dir;
    {
        SqliteRegistryBackend backend(dir.path());
        clsRegAccess(backend).WriteString(kKey, "ProfileName", "alice");
    }
    SqliteRegistryBackend backend(dir.path());
    EXPECT_EQ(clsRegAccess(backend).ReadString(kKey, "ProfileName", ""), "alice");
}

} // namespace
} // namespace kv::test
