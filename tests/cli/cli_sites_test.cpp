// The tool on a profile of its own making: sites imported from another program's CSV
// export, then listed, shown, searched, rated, counted and exported again.
#include "cli/cli_world.h"
#include "storage/ini_values.h"
#include "storage/site_file.h"

#include <nlohmann/json.hpp>

namespace kv::test {
namespace {

using Json = nlohmann::json;

// Three logins in two groups, as a Bitwarden export writes them.
constexpr const char* kBitwardenExport =
    "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_totp\n"
    "Finance,,login,Bank,,,0,https://bank.example/login,Alice.Smith,Tr0ub4dor&3x,\n"
    "Mail,,login,Webmail,,,0,https://mail.example/,alice,password,\n"
    "Mail,,login,Backup Mail,,,0,https://backup.example/signin,bob,password,\n";

class CliSites : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(world.initOpenProfile({"--no-categories"}));
        const auto csv = world.home() / "export.csv";
        ASSERT_NO_FATAL_FAILURE(CliWorld::WriteFile(csv, kBitwardenExport));
        const CliResult imported = world.run({"import", csv.string()});
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        ASSERT_EQ(imported.out, "Imported 3 sites from " + csv.string() + "\n");
    }

    Json json(const std::vector<std::string>& arguments) const
    {
        const CliResult result = world.run(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return Json::parse(result.out, nullptr, false);
    }

    CliWorld world;
};

TEST_F(CliSites, ListsTheTreeFolderByFolderAndAsJson)
{
    EXPECT_EQ(world.run({"sites"}).out, "Finance/Bank\nMail/Backup Mail\nMail/Webmail\n");
    EXPECT_EQ(world.run({"sites", "--folder", "Mail"}).out, "Mail/Backup Mail\nMail/Webmail\n");
    EXPECT_EQ(json({"sites", "--json"}),
              Json::parse(R"([{"name":"Bank","folder":"Finance","path":"/Finance/Bank"},
                               {"name":"Backup Mail","folder":"Mail","path":"/Mail/Backup Mail"},
                               {"name":"Webmail","folder":"Mail","path":"/Mail/Webmail"}])"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"sites", "--folder", "../.."}), "no folder"));
}

TEST_F(CliSites, ShowsTheDetailsInOrderWithThePasswordMaskedUnlessAsked)
{
    const CliResult masked = world.run({"show", "Bank"});
    ASSERT_EQ(masked.exitCode, 0) << masked.err;
    EXPECT_EQ(masked.out, "Friendly name: Bank\n"
                          "Title: \n"
                          "URL: https://bank.example/login\n"
                          "Domain: bank.example\n"
                          "Form name: \n"
                          "Form method: \n"
                          "Form action: \n"
                          "Form login name: \n"
                          "Login: Alice.Smith\n"
                          "Form password name: \n"
                          "Password: ********\n"
                          "Amount of times used: \n");
    EXPECT_EQ(masked.out.find("Tr0ub4dor"), std::string::npos);
    EXPECT_NE(world.run({"show", "Finance/Bank", "--reveal"}).out.find("Password: Tr0ub4dor&3x\n"),
              std::string::npos);

    const Json hidden = json({"show", "/Finance/Bank", "--json"});
    ASSERT_EQ(hidden["fields"].size(), kSiteDetailFields.size());
    for (std::size_t i = 0; i < kSiteDetailFields.size(); ++i)
        EXPECT_EQ(hidden["fields"][i]["key"], kSiteDetailFields[i].key);
    EXPECT_TRUE(hidden["fields"][10]["value"].is_null());
    EXPECT_EQ(hidden["path"], "/Finance/Bank");
    EXPECT_EQ(json({"show", "Bank", "--json", "--reveal"})["fields"][10]["value"], "Tr0ub4dor&3x");
}

TEST_F(CliSites, SearchesFriendlyNameAddressAndLoginWithoutCase)
{
    EXPECT_EQ(world.run({"search", "BANK"}).out, "Finance/Bank\n");
    EXPECT_EQ(world.run({"search", "mail.example"}).out, "Mail/Webmail\n");
    EXPECT_EQ(world.run({"search", "alice"}).out, "Finance/Bank\nMail/Webmail\n");
    EXPECT_EQ(world.run({"search", "nothing like it"}).out, "");
    EXPECT_EQ(json({"search", "bob", "--json"})[0]["path"], "/Mail/Backup Mail");
}

TEST_F(CliSites, AuditsRatingsAndReuseAsTheAreaDoes)
{
    const Json rows = json({"audit", "--json"});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], Json::parse(R"({"name":"Bank","path":"/Finance/Bank","login":"Secure",
                                      "password":"Secure","reused":false,"damaged":false})"));
    // "password" scores lowercase and length: 2 points.
    EXPECT_EQ(rows[1]["password"], "Not Secure");
    EXPECT_TRUE(rows[1]["reused"]);
    EXPECT_TRUE(rows[2]["reused"]);
}

TEST_F(CliSites, CountsNoTimeSavedBeforeAnyLogin)
{
    EXPECT_EQ(json({"timesaved", "--seconds", "60", "--json"}),
              Json::parse(R"({"logins":0,"secondsPerLogin":60,"days":0,"hours":0,"minutes":0,"seconds":0})"));
    EXPECT_EQ(world.run({"timesaved"}).out.substr(0, 59),
              "You have logged into 0 sites automatically with Vormaplex.\n");
    EXPECT_TRUE(FailsWithOneLine(world.run({"timesaved", "--seconds", "-1"}), "--seconds"));
}

TEST_F(CliSites, ExportWritesTheImportedValuesInPlainTextAndImportReadsThemBack)
{
    const auto out = world.home() / "out";
    const CliResult exported = world.run({"export", out.string()});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(ReadIniValue(kMainSection, FORMPASSVALUE, out / "Bank.QVR"), "Tr0ub4dor&3x");
    EXPECT_EQ(ReadIniValue(kMainSection, FORMLOGINVALUE, out / "Bank.QVR"), "Alice.Smith");
    EXPECT_EQ(ReadIniValue(kMainSection, SITEURL, out / "Webmail.QVR"), "https://mail.example/");
    EXPECT_EQ(ReadIniValue(kMainSection, SITEFRIENDLYNAME, out / "Backup Mail.QVR"), "Backup Mail");

    // Only the named ones, into a folder of their own.
    const auto one = world.home() / "one";
    ASSERT_EQ(world.run({"export", one.string(), "Webmail"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(one / "Webmail.QVR"));
    EXPECT_FALSE(std::filesystem::exists(one / "Bank.QVR"));

    // Back in: into the root, values as exported; a taken name is kept or replaced on request.
    WriteIniValue(kMainSection, FORMPASSVALUE, "changed", out / "Bank.QVR");
    const CliResult first = world.run({"import", out.string(), "--skip"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(world.run({"show", "/Bank", "--reveal"}).out.find("Password: changed\n"), std::string::npos);
    const CliResult kept = world.run({"import", out.string(), "--skip"});
    ASSERT_EQ(kept.exitCode, 0) << kept.err;
    EXPECT_EQ(kept.out, "Imported 0 sites into the root sites folder\n");
    WriteIniValue(kMainSection, FORMPASSVALUE, "changed again", out / "Bank.QVR");
    // Without a terminal, nothing is overwritten unless asked.
    ASSERT_EQ(world.run({"import", out.string()}).exitCode, 0);
    EXPECT_NE(world.run({"show", "/Bank", "--reveal"}).out.find("Password: changed\n"), std::string::npos);
    ASSERT_EQ(world.run({"import", out.string(), "--overwrite"}).exitCode, 0);
    EXPECT_NE(world.run({"show", "/Bank", "--reveal"}).out.find("Password: changed again\n"),
              std::string::npos);
}

TEST_F(CliSites, ExportAndImportRefuseTheProfileFolderHoweverItIsSpelled)
{
    const auto inside = world.profile() / "Finance" / ".." / "plain";
    EXPECT_TRUE(FailsWithOneLine(world.run({"export", inside.string()}), "cannot export"));
    std::filesystem::create_symlink(world.profile(), world.home() / "link");
    EXPECT_TRUE(
        FailsWithOneLine(world.run({"export", (world.home() / "link" / "x").string()}), "cannot export"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"import", world.profile().string()}), "cannot import"));
    EXPECT_FALSE(std::filesystem::exists(world.profile() / "plain"));
}

TEST_F(CliSites, NamesAreLookedUpNeverUsedAsPaths)
{
    CliWorld::WriteFile(world.home() / "Secret.QVR", "[Main]\nSITEURL=x\n");
    for (const std::string& name : std::vector<std::string>{"../Secret", (world.home() / "Secret").string(),
                                                            "Finance/../../Secret", "Finance/Bank.QVR", ""})
        EXPECT_TRUE(FailsWithOneLine(world.run({"show", name}), "no ")) << name;
    EXPECT_TRUE(FailsWithOneLine(world.run({"login", "../Secret"}), "no folder"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"login", "--folder", ".."}), "no folder"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"login", "--hotkey", "11"}), "--hotkey"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"login", "Bank", "--hotkey", "1"}), "one of them"));
    // The same name in two folders asks for the folder.
    std::filesystem::copy_file(world.profile() / "Finance" / "Bank.QVR", world.profile() / "Bank.QVR");
    EXPECT_TRUE(FailsWithOneLine(world.run({"show", "Bank"}), "give one of /Bank, /Finance/Bank"));
    EXPECT_EQ(world.run({"show", "/Bank"}).exitCode, 0);
}

TEST_F(CliSites, DamagedSiteIsReportedAndTheRestKeepsWorking)
{
    const auto damaged = world.profile() / "Mail" / "Webmail.QVR";
    WriteIniValue(kMainSection, FORMPASSVALUE, "00 11 22 33 44 55 66 77", damaged);
    EXPECT_TRUE(FailsWithOneLine(world.run({"show", "Webmail"}), "damaged"));
    EXPECT_EQ(world.run({"sites"}).exitCode, 0);
    EXPECT_EQ(world.run({"show", "Bank"}).exitCode, 0);
    const Json rows = json({"audit", "--json"});
    EXPECT_TRUE(rows[2]["damaged"]);
    // Its export is left out and said so; the others are written.
    const CliResult exported = world.run({"export", (world.home() / "out").string()});
    EXPECT_NE(exported.exitCode, 0);
    EXPECT_NE(exported.err.find("Webmail"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(world.home() / "out" / "Bank.QVR"));
}

} // namespace
} // namespace kv::test
