#include "registry_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace kv::test {
namespace {

std::string FileText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

// Every value of the key and its sub-keys, in enumeration order, as one text.
std::string Dump(clsRegAccess& reg, const std::string& path)
{
    std::string dump = "[" + path + "]";
    std::vector<std::string> names;
    std::vector<RegValue> values;
    for (std::int32_t type : {kRegSz, kRegBinary, kRegDword}) {
        reg.EnumValues(path, names, values, type);
        for (std::size_t i = 0; i < names.size(); ++i) {
            dump += " " + std::to_string(type) + ":" + names[i] + "=";
            if (const auto* text = std::get_if<std::string>(&values[i]))
                dump += *text;
            else if (const auto* number = std::get_if<std::int32_t>(&values[i]))
                dump += std::to_string(*number);
        }
    }
    std::vector<std::string> subKeys;
    reg.EnumKeys(path, subKeys);
    for (const std::string& subKey : subKeys)
        dump += " " + Dump(reg, path + "\\" + subKey);
    return dump;
}

class Regedit4 : public ::testing::Test {
protected:
    std::filesystem::path file(const char* name) { return files_ / name; }

    TempRegistry temp_;
    clsRegAccess& reg_ = temp_.registry();
    TempDir files_;
};

TEST_F(Regedit4, ExportWritesTheDocumentedLines)
{
    const std::string key = "HKCU\\Software\\Kestrelyn Vormaplex";
    reg_.WriteString(key, "@", "v");
    reg_.WriteString(key, "n", "s");
    reg_.WriteBinary(key, "b", "01 02");
    reg_.WriteDWORD(key, "d", 10);
    reg_.WriteDWORD(key, "neg", -1);
    std::vector<std::string> shown;

    ASSERT_EQ(
        reg_.ExportToReg(key, file("out.reg"), false, [&](const std::string& p) { shown.push_back(p); }), 1);

    EXPECT_EQ(FileText(file("out.reg")), "REGEDIT4\r\n\r\n"
                                         "[HKEY_CURRENT_USER\\Software\\Kestrelyn Vormaplex]\r\n"
                                         "@=\"v\"\r\n"
                                         "\"n\"=\"s\"\r\n"
                                         "\"b\"=hex:01,02\r\n"
                                         "\"d\"=dword:0000000A\r\n"
                                         "\"neg\"=dword:FFFFFFFF\r\n"
                                         "\r\n");
    EXPECT_EQ(shown, std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Kestrelyn Vormaplex"});
}

TEST_F(Regedit4, RecursiveExportWritesParentsBeforeChildrenInKeyOrder)
{
    reg_.WriteString("HKLM\\T\\b", "x", "1");
    reg_.WriteString("HKLM\\T\\A\\deep", "y", "2");
    reg_.WriteBinary("HKLM\\T", "", "");

    ASSERT_EQ(reg_.ExportToReg("hklm\\T", file("tree.reg"), true), 1);

    EXPECT_EQ(FileText(file("tree.reg")), "REGEDIT4\r\n\r\n"
                                          "[HKEY_LOCAL_MACHINE\\T]\r\n\"\"=hex:\r\n\r\n"
                                          "[HKEY_LOCAL_MACHINE\\T\\A]\r\n\r\n"
                                          "[HKEY_LOCAL_MACHINE\\T\\A\\deep]\r\n\"y\"=\"2\"\r\n\r\n"
                                          "[HKEY_LOCAL_MACHINE\\T\\b]\r\n\"x\"=\"1\"\r\n\r\n");
}

TEST_F(Regedit4, ExportOntoAnExistingFileLeavesItAlone)
{
    reg_.WriteString("HKCU\\K", "n", "s");
    WriteFile(file("taken.reg"), "precious");

    EXPECT_EQ(reg_.ExportToReg("HKCU\\K", file("taken.reg"), true), 0);
    EXPECT_EQ(FileText(file("taken.reg")), "precious");
}

TEST_F(Regedit4, ExportOfAMissingKeyFailsAndKeepsWhatCameBefore)
{
    EXPECT_EQ(reg_.ExportToReg("HKCU\\Missing", file("none.reg"), false), 0);
    EXPECT_EQ(FileText(file("none.reg")), "REGEDIT4\r\n\r\n");
    EXPECT_EQ(reg_.ExportToReg("HKCU\\K", (files_ / "no-such-dir" / "x.reg").string(), false), 0);
}

TEST_F(Regedit4, ImportOfAnExportReproducesTheValues)
{
    const std::string key = "HKCU\\Software\\Round";
    reg_.WriteString(key, "@", "default text");
    reg_.WriteString(key, "path", "C:\\x y");
    reg_.WriteBinary(key, "bin", "00 7F 80 FF");
    reg_.WriteBinary(key, "nothing", "");
    reg_.WriteDWORD(key, "min", INT32_MIN);
    reg_.WriteDWORD(key + "\\Child", "seven", 7);
    ASSERT_EQ(reg_.ExportToReg(key, file("round.reg"), true), 1);

    TempRegistry fresh;
    ASSERT_EQ(fresh.registry().ImportFromReg(file("round.reg")), 1);

    EXPECT_EQ(Dump(fresh.registry(), key), Dump(reg_, key));
    EXPECT_EQ(fresh.registry().ReadString(key, "", "-"), "default text");
}

TEST_F(Regedit4, ImportRejectsOtherHeadersAndLfOnlyFiles)
{
    WriteFile(file("v5.reg"),
              "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=\"b\"\r\n");
    WriteFile(file("lf.reg"), "REGEDIT4\n\n[HKEY_CURRENT_USER\\X]\n\"a\"=\"b\"\n");
    WriteFile(file("lower.reg"), "regedit4\r\n[HKCU\\Y]\r\n\"a\"=\"b\"\r\n");

    EXPECT_EQ(reg_.ImportFromReg(file("v5.reg")), 0);
    EXPECT_EQ(reg_.ImportFromReg(file("lf.reg")), 0);
    EXPECT_EQ(reg_.ImportFromReg(file("missing.reg")), 0);
    EXPECT_FALSE(reg_.KeyExists("HKCU\\X"));
    EXPECT_EQ(reg_.ImportFromReg(file("lower.reg")), 1);
    EXPECT_EQ(reg_.ReadString("HKCU\\Y", "a", ""), "b");
}

TEST_F(Regedit4, ImportAppliesDeletionsAndTheValueLineRules)
{
    reg_.WriteString("HKCU\\Gone", "v", "s");
    reg_.WriteString("HKCU\\K", "old", "s");
    reg_.WriteString("HKCU\\K", "@", "d");
    reg_.CreateKeyIfDoesntExists = false;
    WriteFile(file("edits.reg"), "REGEDIT4\r\n"
                                 "\"outside\"=\"ignored\"\r\n"
                                 "[-HKEY_CURRENT_USER\\Gone]\r\n"
                                 "\"after deletion\"=\"ignored\"\r\n"
                                 "[HKEY_CURRENT_USER\\K]\r\n"
                                 "; a comment=\"x\"\r\n"
                                 "no equals sign\r\n"
                                 "\r\n"
                                 "  \"eq\"=\"a=b\"  \r\n"
                                 "\"old\"= - \r\n"
                                 "@=\"\"\r\n"
                                 "\"h\"=HEX:0a,0B\r\n"
                                 "\"dw\"=DWORD:7fffffff\r\n"
                                 "[HKEY_CURRENT_USER\\New\\Deep]\r\n"
                                 "\"n\"=\"v\"\r\n");

    ASSERT_EQ(reg_.ImportFromReg(file("edits.reg")), 1);

    EXPECT_TRUE(reg_.CreateKeyIfDoesntExists);
    EXPECT_FALSE(reg_.KeyExists("HKCU\\Gone"));
    EXPECT_FALSE(reg_.KeyExists("HKCU\\Gone\\after deletion"));
    EXPECT_EQ(reg_.ReadString("HKCU\\K", "eq", ""), "a");
    EXPECT_FALSE(reg_.ValueExists("HKCU\\K", "old"));
    EXPECT_FALSE(reg_.ValueExists("HKCU\\K", ""));
    EXPECT_FALSE(reg_.ValueExists("HKCU\\K", "outside"));
    EXPECT_FALSE(reg_.ValueExists("HKCU\\K", "no equals sign"));
    EXPECT_EQ(reg_.ReadBinary("HKCU\\K", "h", ""), "0A 0B");
    EXPECT_EQ(reg_.ReadDWORD("HKCU\\K", "dw", 0), INT32_MAX);
    EXPECT_EQ(reg_.ReadString("HKCU\\New\\Deep", "n", ""), "v");
}

TEST_F(Regedit4, ImportStopsAtADwordItCannotRead)
{
    WriteFile(file("bad.reg"),
              "REGEDIT4\r\n[HKCU\\K]\r\n\"a\"=\"1\"\r\n\"d\"=dword:123456789\r\n\"b\"=\"2\"\r\n");

    EXPECT_EQ(reg_.ImportFromReg(file("bad.reg")), 0);
    EXPECT_EQ(reg_.ReadString("HKCU\\K", "a", ""), "1");
    EXPECT_FALSE(reg_.ValueExists("HKCU\\K", "d"));
    EXPECT_FALSE(reg_.ValueExists("HKCU\\K", "b"));
}

} // namespace
} // namespace kv::test
