#include "storage/ini_file.h"

#include "common/temp_dir.h"
#include "storage_test_files.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(IniFile, ReadsCrlfAndLfAlike)
{
    const IniFile ini = IniFile::parse("[Main]\r\nA=1\r\r\n[Stats]\nB=2\nC=3");
    EXPECT_EQ(ini.value("Main", "A"), "1");
    EXPECT_EQ(ini.value("Stats", "B"), "2");
    EXPECT_EQ(ini.value("Stats", "C"), "3");
    EXPECT_EQ(ini.serialize(), "[Main]\nA=1\n[Stats]\nB=2\nC=3\n");
}

TEST(IniFile, UnknownLinesAndOrderSurviveAnEdit)
{
    const std::string text = "; written by hand\n"
                             "\n"
                             "[Second]\n"
                             "Z = spaced\n"
                             "junk without equals\n"
                             "# hash comment\n"
                             "=no key\n"
                             "A=1\n"
                             "\n"
                             "[First]\n"
                             "B=2\n";
    IniFile ini = IniFile::parse(text);
    EXPECT_EQ(ini.serialize(), text);
    EXPECT_EQ(ini.value("Second", "Z"), " spaced");
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"Second", "First"}));
    EXPECT_EQ(ini.keyNames("second"), (std::vector<std::string>{"Z", "A"}));

    ini.setValue("SECOND", "a", "one");
    ini.setValue("Second", "New", "n");
    ini.setValue("Third", "C", "3");
    EXPECT_EQ(ini.serialize(), "; written by hand\n"
                               "\n"
                               "[Second]\n"
                               "Z = spaced\n"
                               "junk without equals\n"
                               "# hash comment\n"
                               "=no key\n"
                               "A=one\n"
                               "New=n\n"
                               "\n"
                               "[First]\n"
                               "B=2\n"
                               "[Third]\n"
                               "C=3\n");
}

TEST(IniFile, FirstOfDuplicatesIsReadAndWritten)
{
    IniFile ini = IniFile::parse("[S]\nK=first\nK=second\n[S]\nK=third\nL=other\n");
    EXPECT_EQ(ini.value("S", "K"), "first");
    EXPECT_EQ(ini.value("S", "L"), std::nullopt);
    EXPECT_EQ(FindIniValue("[S]\nK=first\nK=second\n[S]\nK=third\nL=other\n", "S", "K"), "first");
    EXPECT_EQ(FindIniValue("[S]\nK=first\n[S]\nL=other\n", "S", "L"), std::nullopt);
    ini.setValue("s", "k", "changed");
    EXPECT_EQ(ini.serialize(), "[S]\nK=changed\nK=second\n[S]\nK=third\nL=other\n");
    EXPECT_TRUE(ini.removeKey("S", "K"));
    EXPECT_EQ(ini.value("S", "K"), std::nullopt);
    EXPECT_TRUE(ini.removeSection("S"));
    EXPECT_EQ(ini.serialize(), "");
    EXPECT_FALSE(ini.removeSection("S"));
    EXPECT_FALSE(ini.removeKey("S", "K"));
}

// The quick lookup and the full parse must agree on every text.
TEST(IniFile, QuickLookupAgreesWithTheParser)
{
    const std::string texts[] = {
        "\xEF\xBB\xBF[Main]\r\nKEY=bom\r\n",
        "KEY=preamble\n[Main]\nKEY=in section\n",
        "[ Main ]\n  KEY  =  padded \n",
        "[Main\nKEY=unclosed header\n[Main]\nKEY=closed\n",
        "[Main]extra\nKEY=after header junk\n",
        "[Main]\n;KEY=comment\nKEY\nKEY=x=y\n",
        "[Other]\nKEY=no\n[main]\nkey=yes\n",
        "[Main]\nKEY=\n",
        "",
        "\n\n\r\n",
        std::string("[Main]\nKEY=nul\0inside\n", 22),
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(FindIniValue(text, "Main", "KEY"), IniFile::parse(text).value("Main", "KEY"));
        EXPECT_EQ(IniFile::parse(IniFile::parse(text).serialize()).value("Main", "KEY"),
                  IniFile::parse(text).value("Main", "KEY"));
    }
    EXPECT_EQ(FindIniValue("[ Main ]\n  KEY  =  padded \n", "main", "key"), "  padded ");
}

TEST(IniFile, LoadAndSave)
{
    TempDir dir;
    EXPECT_EQ(IniFile::load(dir / "absent.ini")->serialize(), "");

    IniFile ini;
    ini.setValue("Main", "KEY", "value");
    ASSERT_TRUE(ini.save(dir / "file.ini"));
    EXPECT_EQ(FileText(dir / "file.ini"), "[Main]\nKEY=value\n");
    EXPECT_EQ(IniFile::load(dir / "file.ini")->value("main", "key"), "value");

    EXPECT_FALSE(ini.save(dir / "absent" / "file.ini"));
    EXPECT_FALSE(IniFile::load(dir.path()).has_value());
}

TEST(IniFile, RefusesFilesTooLargeToBeOurs)
{
    TempDir dir;
    const auto file = dir / "huge.ini";
    std::filesystem::resize_file((WriteFileText(file, "[S]\nK=v\n"), file), IniFile::kMaxFileSize + 1);
    EXPECT_EQ(IniFile::load(file).error(), std::make_error_code(std::errc::file_too_large));
}

} // namespace
} // namespace kv::test
