// CSV text and the exports of other password managers, imported as site files.
#include "sites_folder.h"
#include "storage/ini_values.h"
#include "storage/sites_tree.h"
#include "support/parse_url.h"
#include "tools/csv_formats.h"
#include "tools/csv_import.h"
#include "tools/csv_text.h"
#include "tools/exchange_texts.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::Secure;
using test::SitesFolder;
using test::TempDir;
using test::WriteFileText;
using Fields = std::vector<std::string>;

TEST(CsvText, QuotesCommasAndLineBreaksInsideValues)
{
    const CsvText csv = ParseCsv("a,b,c\n\"x, y\",\"say \"\"hi\"\"\",\"two\nlines\"\n plain , ,\n");
    ASSERT_EQ(csv.records.size(), 3u);
    EXPECT_EQ(csv.records[1].fields, (Fields{"x, y", "say \"hi\"", "two\nlines"}));
    EXPECT_EQ(csv.records[2].fields, (Fields{" plain ", " ", ""})); // blanks are kept
    EXPECT_EQ(csv.records[2].line, 4u);
    EXPECT_FALSE(csv.unclosedQuoteLine);
}

TEST(CsvText, AnyLineEndAndBlankLinesAndAByteOrderMark)
{
    const CsvText csv = ParseCsv("\xEF\xBB\xBFh1,h2\r\n1,2\n\n\r\n3,4\r5,6\n\"7\r\n8\",9");
    ASSERT_EQ(csv.records.size(), 5u);
    EXPECT_EQ(csv.records[0].fields, (Fields{"h1", "h2"}));
    EXPECT_EQ(csv.records[1].line, 2u);
    EXPECT_EQ(csv.records[2].fields, (Fields{"3", "4"}));
    EXPECT_EQ(csv.records[2].line, 5u);
    EXPECT_EQ(csv.records[3].fields, (Fields{"5", "6"}));
    EXPECT_EQ(csv.records[4].fields, (Fields{"7\r\n8", "9"}));
    EXPECT_EQ(csv.records[4].line, 6u);
}

TEST(CsvText, AQuoteLeftOpenNamesTheLineItBeganOn)
{
    const CsvText csv = ParseCsv("a,b\n1,2\n3,\"never closed\n4,5\n");
    ASSERT_EQ(csv.records.size(), 2u);
    EXPECT_EQ(csv.unclosedQuoteLine, 3u);
}

TEST(CsvText, AMisplacedQuoteCostsOnlyItsOwnRecord)
{
    const CsvText csv = ParseCsv("a,b\nx\"y,1\n\"z\"w,2\n3,4\n");
    ASSERT_EQ(csv.records.size(), 2u);
    EXPECT_EQ(csv.records[1].fields, (Fields{"3", "4"}));
    EXPECT_EQ(csv.records[1].line, 4u);
    EXPECT_EQ(csv.malformedLines, (std::vector<std::size_t>{2, 3}));
}

struct FormatSample {
    const char* name;
    std::string csv;
    CsvFormat format;
};

// Each export with a login whose values hold quotes, commas and line breaks.
const FormatSample kSamples[] = {
    {"Chromium",
     "name,url,username,password,note\n"
     "\"shop, \"\"best\"\"\",https://www.shop.example/login,\"al,ice\",\"p\"\"w,1\nx\",\"a\nnote\"\n",
     CsvFormat::Chromium},
    {"Firefox",
     "\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\",\"guid\",\"timeCreated\","
     "\"timeLastUsed\",\"timePasswordChanged\"\n"
     "\"https://www.shop.example\",\"al,ice\",\"p\"\"w,1\nx\",,\"https://"
     "www.shop.example\",\"{1}\",\"1\",\"1\","
     "\"1\"\n",
     CsvFormat::Firefox},
    {"Bitwarden",
     "folder,favorite,type,name,notes,fields,reminder,login_uri,login_username,login_password,login_totp\n"
     "Shops/Online,,login,\"shop, "
     "\"\"best\"\"\",\"a\nnote\",,,\"https://www.shop.example/login,https://m.shop."
     "example\",\"al,ice\",\"p\"\"w,1\nx\",\n"
     "Shops,,note,A note,text,,,,,,\n",
     CsvFormat::Bitwarden},
    {"KeePassXC",
     "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\",\"Last Modified\","
     "\"Created\"\n"
     "\"Root/Shops/Online\",\"shop, "
     "\"\"best\"\"\",\"al,ice\",\"p\"\"w,1\nx\",\"https://www.shop.example/login\","
     "\"a\nnote\",\"\",\"0\",\"2024-01-01T00:00:00Z\",\"2024-01-01T00:00:00Z\"\n",
     CsvFormat::KeePassXC},
};

TEST(CsvFormats, EachExportIsRecognisedByItsHeader)
{
    for (const auto& sample : kSamples) {
        const auto columns = RecogniseCsvHeader(ParseCsv(sample.csv).records.front().fields);
        ASSERT_TRUE(columns) << sample.name;
        EXPECT_EQ(columns->format, sample.format) << sample.name;
    }
    EXPECT_FALSE(RecogniseCsvHeader({"url", "user", "pass"}));
    EXPECT_FALSE(RecogniseCsvHeader({}));
    // Case and order of the columns do not matter.
    EXPECT_EQ(RecogniseCsvHeader({"PASSWORD", " Url ", "Name", "username"})->format, CsvFormat::Chromium);
}

TEST(CsvImport, EachExportImportsItsLoginIntoTheRightFolder)
{
    for (const auto& sample : kSamples) {
        SitesFolder sites;
        const CsvImportOutcome outcome = ImportCsvText(sample.csv, sites.path());
        EXPECT_TRUE(outcome.problems.empty()) << sample.name;
        ASSERT_EQ(outcome.written.size(), 1u) << sample.name;
        const auto& file = outcome.written[0];
        const bool named = sample.format != CsvFormat::Firefox;
        const bool foldered = sample.format == CsvFormat::Bitwarden || sample.format == CsvFormat::KeePassXC;
        const std::string name = named ? "shop, _best_" : "Shop";
        EXPECT_EQ(file, (foldered ? sites.path() / "Shops" / "Online" : sites.path()) / (name + ".QVR"))
            << sample.name;
        EXPECT_EQ(Secure(file, SITEFRIENDLYNAME), name);
        EXPECT_EQ(Secure(file, FORMLOGINVALUE), "al,ice") << sample.name;
        EXPECT_EQ(Secure(file, FORMPASSVALUE), "p\"w,1\nx") << sample.name;
        EXPECT_EQ(Secure(file, SITEURL),
                  named ? "https://www.shop.example/login" : "https://www.shop.example");
        EXPECT_EQ(Secure(file, SITEDOMAIN), ParseUrl(Secure(file, SITEURL), "domain"));
        EXPECT_EQ(Secure(file, VELOTRIP), "0");
    }
}

TEST(CsvImport, NeverReplacesASiteAndNamesSitesWithoutOne)
{
    SitesFolder sites;
    sites.login("Shop.QVR", "Shop", "mine", "keep me");
    const auto outcome = ImportCsvText("url,username,password,httpRealm\n"
                                       "https://www.shop.example,a,1,\n"
                                       "https://www.shop.example,b,2,\n"
                                       "example,c,3,\n",
                                       sites.path());
    EXPECT_TRUE(outcome.problems.empty());
    EXPECT_EQ(outcome.written, (std::vector<std::filesystem::path>{sites.path() / "Shop (2).QVR",
                                                                   sites.path() / "Shop (3).QVR",
                                                                   sites.path() / "example.QVR"}));
    EXPECT_EQ(Secure(sites.path() / "Shop.QVR", FORMPASSVALUE), "keep me");
    EXPECT_EQ(Secure(sites.path() / "Shop (3).QVR", FORMLOGINVALUE), "b");
    EXPECT_EQ(Secure(sites.path() / "example.QVR", SITEURL), "https://example");
}

TEST(CsvFormats, ANameMadeFromAnOddAddressIsStillText)
{
    // The host helpers cut this address inside its last character.
    const CsvRecord record{2, {std::string("\0b\x03Sh:://x\xD8\x9A", 12), "", "pw"}};
    const auto site = ReadCsvSite(*RecogniseCsvHeader({"url", "username", "password", "httpRealm"}), record);
    ASSERT_TRUE(site && *site);
    EXPECT_EQ((*site)->name, "Site");
}

TEST(CsvImport, BadLinesAreReportedByNumberAndTheOthersImported)
{
    SitesFolder sites;
    const auto outcome = ImportCsvText("name,url,username,password\n"
                                       "A,https://a.example,a,1\n"
                                       "B,https://b.example\n"
                                       "C,https://c.example,\xC3\x28,3\n"
                                       "D,https://d.example,d," +
                                           std::string(kMaxSecureValueLength + 1, 'x') +
                                           "\n"
                                           "G,https://g.example,g\"g,7\n"
                                           ",,,\n"
                                           "E,\"https://e.example\",e,\"5\n"
                                           "F,https://f.example,f,6\n",
                                       sites.path());
    EXPECT_EQ(outcome.written, std::vector<std::filesystem::path>{sites.path() / "A.QVR"});
    ASSERT_EQ(outcome.problems.size(), 5u);
    EXPECT_EQ(CsvProblemList("/in/x.csv", outcome.problems),
              "/in/x.csv: line 3: the line has fewer columns than the header\n"
              "/in/x.csv: line 4: the line is not valid UTF-8 text\n"
              "/in/x.csv: line 5: a value is longer than a site file can keep\n"
              "/in/x.csv: line 6: a double quote is out of place in the line\n"
              "/in/x.csv: line 8: a quoted value is not closed before the end of the file");
}

TEST(CsvImport, AFileOfAnotherKindImportsNothing)
{
    SitesFolder sites;
    for (const std::string& text :
         {std::string(), std::string("just,some,columns\n1,2,3\n"), std::string(5'000'000, '\xFF')}) {
        const auto outcome = ImportCsvText(text, sites.path());
        EXPECT_TRUE(outcome.written.empty());
        ASSERT_EQ(outcome.problems.size(), 1u);
        EXPECT_EQ(outcome.problems[0].reason, kCsvUnknownHeader);
    }
    std::vector<std::filesystem::path> files;
    std::int32_t fileCount = 0, folderCount = 0;
    CollectSiteFiles(sites.path(), kSitePattern, files, fileCount, folderCount);
    EXPECT_TRUE(files.empty());
}

TEST(CsvImport, LargeFilesAreReadOrRefusedWithAReason)
{
    SitesFolder sites;
    TempDir in;
    // 50 MB in one quoted value that never closes: the login before it still comes in.
    std::string text = "name,url,username,password\nA,https://a.example,a,1\nB,https://b.example,b,\"";
    text.append(50u << 20, 'x');
    WriteFileText(in.path() / "big.csv", text);
    const auto big = ImportCsvFile(in.path() / "big.csv", sites.path());
    EXPECT_EQ(big.written.size(), 1u);
    ASSERT_EQ(big.problems.size(), 1u);
    EXPECT_EQ(big.problems[0].line, 3u);

    std::filesystem::resize_file(in.path() / "big.csv", 65u << 20);
    const auto huge = ImportCsvFile(in.path() / "big.csv", sites.path());
    ASSERT_EQ(huge.problems.size(), 1u);
    EXPECT_EQ(huge.problems[0].reason, kCsvTooLarge);
    EXPECT_EQ(CsvProblemList(in.path() / "big.csv", huge.problems),
              (in.path() / "big.csv").string() + ": the file is larger than 64 MB");
}

} // namespace
} // namespace kv
