// Export of sites as plain site files, and import of such files back into a profile.
#include "common/scripted_dialogs.h"
#include "platform/desktop_shell.h"
#include "sites_folder.h"
#include "storage/ini_file.h"
#include "storage/ini_values.h"
#include "tools/exchange_texts.h"
#include "tools/site_export.h"
#include "tools/site_import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kv {
namespace {

using test::FileText;
using test::ScriptedDialogs;
using test::Secure;
using test::SitesFolder;
using test::TempDir;

class RecordingShell : public DesktopShell {
public:
    void open(std::string_view path) override { opened.emplace_back(path); }
    void lockSession() override {}
    std::vector<std::string> opened;
};

std::vector<ExchangeItem> AllChecked(std::vector<ExchangeItem> items)
{
    for (auto& item : items)
        item.checked = true;
    return items;
}

unsigned Mode(const std::filesystem::path& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

std::filesystem::path FullSite(const SitesFolder& sites, const std::filesystem::path& relative, int n,
                               bool postData = true)
{
    const std::string number = std::to_string(n);
    const std::string name = "Site " + number;
    const std::string url = "https://login" + number + ".example/a?b=c&d=" + number;
    const std::string title = "Sign in = \"" + number + "\" ; [x]";
    const std::string login = " user" + number + "@mail.example ";
    const std::string password = "p\xC3\xA4ss=w;rd#" + number + " ";
    const std::string post = "user=a%40b&pass=" + number;
    return sites.site(relative, {{SITEFRIENDLYNAME, name},
                                 {SITETITLE, title},
                                 {SITEURL, url},
                                 {SITEDOMAIN, "login" + number + ".example"},
                                 {FORMNAME, "login"},
                                 {FORMMETHOD, "post"},
                                 {FORMACTIONURL, url + "/submit"},
                                 {FORMLOGINNAME, "user"},
                                 {FORMLOGINVALUE, login},
                                 {FORMPASSNAME, "pass"},
                                 {FORMPASSVALUE, password},
                                 {VELOTRIP, n % 2 ? "1" : "0"},
                                 {SITEPOSTDATA, postData ? std::string_view(post) : std::string_view()},
                                 {AUTOLOGSTATUS, "Yes"},
                                 // Some logins were sent by the page's script.
                                 {SITEPOSTTYPE, postData && n % 5 == 4 ? "application/json" : ""}});
}

TEST(SiteExport, WritesEveryMainKeyInPlainTextAndNoStats)
{
    SitesFolder sites;
    const auto bank = FullSite(sites, "Money/Bank.QVR", 1);
    IncrementSuccessCount(bank);
    FullSite(sites, "Mail.QVR", 2, false);
    TempDir out;
    const ExportOutcome outcome = ExportSites(AllChecked(ExportList(sites.path())), out.path() / "Exchange");
    ASSERT_FALSE(outcome.folderError);
    EXPECT_TRUE(outcome.skipped.empty());
    ASSERT_EQ(outcome.written.size(), 2u);

    const auto exported = IniFile::load(out.path() / "Exchange" / "Site 1.QVR");
    ASSERT_TRUE(exported);
    EXPECT_EQ(exported->sectionNames(), std::vector<std::string>{"Main"});
    const auto keys = exported->keyNames("Main");
    // A form's site has no content type: the file is the same as before script logins existed.
    EXPECT_EQ(keys, std::vector<std::string>(kMainKeys.begin(), kMainKeys.end() - 1));
    EXPECT_EQ(exported->value("Main", FORMPASSVALUE), "p\xC3\xA4ss=w;rd#1 ");
    // Without post data the key is left out.
    EXPECT_EQ(IniFile::load(out.path() / "Exchange" / "Site 2.QVR")->keyNames("Main").size(), 13u);
}

TEST(SiteExport, FilesAreOwnerOnlyAndANewFolderToo)
{
    SitesFolder sites;
    sites.login("A.QVR", "A", "a", "x");
    TempDir out;
    const auto outcome = ExportSites(AllChecked(ExportList(sites.path())), out.path() / "new" / "deeper");
    ASSERT_EQ(outcome.written.size(), 1u);
    EXPECT_EQ(Mode(outcome.written[0]), 0600u);
    EXPECT_EQ(Mode(out.path() / "new"), 0700u);
    EXPECT_EQ(Mode(out.path() / "new" / "deeper"), 0700u);
}

TEST(SiteExport, CraftedNamesStayInsideTheFolderAndDoNotOverwriteEachOther)
{
    SitesFolder sites;
    sites.login("A.QVR", "../../x", "a", "1");
    sites.login("B.QVR", "Bank", "b", "2");
    sites.login("C.QVR", "Bank", "c", "3");
    sites.login("D.QVR", std::string(300, 'n'), "d", "4");
    TempDir out;
    const auto folder = out.path() / "inside";
    const auto outcome = ExportSites(AllChecked(ExportList(sites.path())), folder);
    ASSERT_EQ(outcome.written.size(), 4u);
    for (const auto& file : outcome.written) {
        EXPECT_EQ(file.parent_path(), folder);
        EXPECT_LE(file.filename().string().size(), 255u);
        EXPECT_TRUE(std::filesystem::exists(file));
    }
    EXPECT_TRUE(std::filesystem::exists(folder / "Bank.QVR"));
    EXPECT_TRUE(std::filesystem::exists(folder / "Bank (2).QVR"));
    EXPECT_EQ(ReadIniValue("Main", FORMLOGINVALUE, folder / "Bank (2).QVR"), "c");
    // Nothing landed next to the folder or above it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), 1);
}

TEST(SiteExport, SkipsSitesItCannotWriteFaithfullyAndSaysWhich)
{
    SitesFolder sites;
    sites.foreign("Other.QVR", "Other");
    sites.site("Multipart.QVR", {{SITEFRIENDLYNAME, "Multipart"}, {SITEPOSTDATA, "--b\r\nname=x\r\n--b--"}});
    sites.login("Fine.QVR", "Fine", "f", "1");
    TempDir out;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    ASSERT_TRUE(cmdFinishExport_Click(AllChecked(ExportList(sites.path())), (out.path() / "x").string(),
                                      sites.path(), dialogs, &shell));
    EXPECT_TRUE(std::filesystem::exists(out.path() / "x" / "Fine.QVR"));
    EXPECT_FALSE(std::filesystem::exists(out.path() / "x" / "Multipart.QVR"));
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(dialogs.messages()[0], "Export Completed");
    EXPECT_EQ(dialogs.messages()[1], "These sites were not exported:\n"
                                     "Multipart: a value holds a line break, which a plain site file cannot\n"
                                     "Other: its stored values cannot be decrypted");
    EXPECT_EQ(shell.opened, std::vector<std::string>{(out.path() / "x").string()});
}

TEST(SiteExport, FolderAndSelectionChecks)
{
    SitesFolder sites;
    sites.login("A.QVR", "A", "a", "1");
    ScriptedDialogs dialogs;
    RecordingShell shell;
    const auto items = AllChecked(ExportList(sites.path()));
    EXPECT_FALSE(cmdFinishExport_Click(items, "   ", sites.path(), dialogs, &shell));
    EXPECT_FALSE(
        cmdFinishExport_Click(items, (sites.path() / "Out").string(), sites.path(), dialogs, &shell));
    EXPECT_EQ(dialogs.messages(),
              (std::vector<std::string>{std::string(kSelectFolder), std::string(kNoExportIntoProfile)}));
    EXPECT_FALSE(std::filesystem::exists(sites.path() / "Out"));
    EXPECT_TRUE(shell.opened.empty());
    // Only letter case differs: another folder, not refused.
    std::string upper = sites.path().string();
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    EXPECT_FALSE(ExportFolderProblem(upper, sites.path()));

    auto unchecked = ExportList(sites.path());
    EXPECT_FALSE(cmdExportNext1_Click(unchecked, dialogs));
    EXPECT_EQ(dialogs.messages().back(), "You must export at least 1 site.");
    EXPECT_EQ(ToggleAllChecked(unchecked, kCheckAll), kUncheckAll);
    EXPECT_TRUE(cmdExportNext1_Click(unchecked, dialogs));
    EXPECT_EQ(ToggleAllChecked(unchecked, kUncheckAll), kCheckAll);
    EXPECT_FALSE(AnyChecked(unchecked));
}

TEST(SiteImport, ExportThenImportReproducesEveryValue)
{
    SitesFolder from;
    for (int n = 0; n < 100; ++n)
        FullSite(from, "Folder " + std::to_string(n % 7) + "/S" + std::to_string(n) + ".QVR", n, n % 3 != 0);
    TempDir out;
    ASSERT_EQ(ExportSites(AllChecked(ExportList(from.path())), out.path()).written.size(), 100u);

    SitesFolder to;
    ScriptedDialogs dialogs;
    auto items = cmdImportNext1_Click(out.path().string(), to.path(), dialogs);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 100u);
    ToggleAllChecked(*items, kCheckAll);
    const ImportOutcome outcome = ImportSiteFiles(*items, to.path(), dialogs);
    EXPECT_TRUE(outcome.skipped.empty());
    EXPECT_EQ(outcome.written.size(), 100u);
    for (int n = 0; n < 100; ++n) {
        const auto source =
            from.path() / ("Folder " + std::to_string(n % 7)) / ("S" + std::to_string(n) + ".QVR");
        const auto target = to.path() / ("Site " + std::to_string(n) + ".QVR");
        for (std::string_view key : kMainKeys)
            EXPECT_EQ(Secure(target, key), Secure(source, key)) << n << " " << key;
        // Encrypted, not copied as they stand.
        EXPECT_EQ(FileText(target).find("user"), std::string::npos);
    }
}

TEST(SiteImport, AnExistingSiteIsOverwrittenOnlyOnYesAndKeepsWhatTheFileLacks)
{
    SitesFolder sites;
    const auto stored = sites.login("Bank.QVR", "Bank", "old login", "old password");
    IncrementSuccessCount(stored);
    TempDir in;
    WriteIniValue("Main", SITEFRIENDLYNAME, "Bank", in.path() / "Bank.QVR");
    WriteIniValue("Main", FORMLOGINVALUE, "", in.path() / "Bank.QVR");
    WriteIniValue("Main", FORMPASSVALUE, "new password", in.path() / "Bank.QVR");
    WriteIniValue("Main", FORMLOGINVALUE, "", in.path() / "New.QVR");
    WriteIniValue("Main", SITEURL, "https://new.example/", in.path() / "New.QVR");

    ScriptedDialogs no{Dialogs::Answer::No};
    auto items = *cmdImportNext1_Click(in.path().string(), sites.path(), no);
    ToggleAllChecked(items, kCheckAll);
    cmdFinishImport_Click(items, sites.path(), no);
    EXPECT_EQ(no.asked(),
              std::vector<std::string>{"It appears a file with the same name 'Bank.QVR' already exists in "
                                       "the root sites folder, would you like to overwrite?"});
    EXPECT_EQ(Secure(stored, FORMPASSVALUE), "old password");
    EXPECT_EQ(no.messages(), std::vector<std::string>{std::string(kImportCompleted)});
    // A new site gets no key for an empty value.
    EXPECT_FALSE(IniFile::load(sites.path() / "New.QVR")->value("Main", FORMLOGINVALUE));

    ScriptedDialogs yes{Dialogs::Answer::Yes, Dialogs::Answer::Yes};
    cmdFinishImport_Click(items, sites.path(), yes);
    EXPECT_EQ(Secure(stored, FORMPASSVALUE), "new password");
    EXPECT_EQ(Secure(stored, FORMLOGINVALUE), "old login");
    EXPECT_EQ(Secure(stored, SUCCESS, kStatsSection), "1");
}

TEST(SiteImport, FolderChecksAndFilesThatCannotBeImported)
{
    SitesFolder sites;
    ScriptedDialogs dialogs;
    EXPECT_FALSE(cmdImportNext1_Click("", sites.path(), dialogs));
    EXPECT_FALSE(cmdImportNext1_Click((sites.path() / "x").string(), sites.path(), dialogs));
    EXPECT_EQ(dialogs.messages(),
              (std::vector<std::string>{std::string(kSelectFolder), std::string(kNoImportFromProfile)}));
    TempDir empty;
    EXPECT_FALSE(cmdImportNext1_Click(empty.path().string(), sites.path(), dialogs));
    EXPECT_EQ(dialogs.messages().size(), 2u); // the page stays without a word

    TempDir in;
    WriteIniValue("Main", FORMPASSVALUE, std::string(kMaxSecureValueLength + 1, 'x'), in.path() / "Long.QVR");
    std::filesystem::create_directory(in.path() / "Dir.QVR");
    WriteIniValue("Main", FORMPASSVALUE, "fine", in.path() / "Fine.QVR");
    auto items = ImportList(in.path());
    ToggleAllChecked(items, kCheckAll);
    const ImportOutcome outcome = ImportSiteFiles(items, sites.path(), dialogs);
    EXPECT_EQ(outcome.written, std::vector<std::filesystem::path>{sites.path() / "Fine.QVR"});
    ASSERT_EQ(outcome.skipped.size(), 1u);
    EXPECT_EQ(outcome.skipped[0].name, "Long.QVR");
    EXPECT_FALSE(std::filesystem::exists(sites.path() / "Long.QVR"));
}

} // namespace
} // namespace kv
