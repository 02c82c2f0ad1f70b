// The tool's profile: making it, the program's login asked as the program asks it, and
// the blocked sites list; every refusal one line and a failure.
#include "cli/cli_world.h"
#include "platform/user_account.h"
#include "startup/create_profile.h"
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"

#include <sys/stat.h>

namespace kv::test {
namespace {

std::filesystem::path SettingsFile(const std::filesystem::path& profile)
{
    return profile / (LinuxUserAccount().name() + ".ini");
}

TEST(CliInit, MakesTheWizardsProfileOnceAndNeverOverAnother)
{
    CliWorld world;
    EXPECT_TRUE(FailsWithOneLine(world.run({"sites"}), "no profile yet"));
    ASSERT_NO_FATAL_FAILURE(world.initOpenProfile());
    EXPECT_TRUE(std::filesystem::exists(SettingsFile(world.profile())));
    for (std::string_view category : kSampleCategories)
        EXPECT_TRUE(std::filesystem::is_directory(world.profile() / category)) << category;
    EXPECT_EQ(std::filesystem::status(world.profile()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_EQ(world.run({"sites"}).exitCode, 0);
    EXPECT_TRUE(FailsWithOneLine(world.run({"init", "--dir", (world.home() / "other").string()}),
                                 "already recorded"));

    // A folder that already holds a settings file keeps it: a new key would lose its sites.
    CliWorld another;
    std::filesystem::create_directories(another.profile());
    CliWorld::WriteFile(SettingsFile(another.profile()), "[Security]\nENCRYPTION KEY=00\n");
    EXPECT_TRUE(FailsWithOneLine(
        another.run({"init", "--dir", another.profile().string(), "--login-choice", "4"}), "already holds"));
    EXPECT_EQ(CliWorld::ReadFile(SettingsFile(another.profile())), "[Security]\nENCRYPTION KEY=00\n");
}

TEST(CliInit, RefusesWhatTheWizardRefuses)
{
    CliWorld world;
    const std::string dir = world.profile().string();
    EXPECT_TRUE(FailsWithOneLine(world.run({"init"}), "--dir"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"init", "--dir", dir, "--login-choice", "5"}), "--login-choice"));
    // An own login needs one; without a terminal it must come from the command line.
    EXPECT_TRUE(FailsWithOneLine(world.run({"init", "--dir", dir}), "no login given"));
    EXPECT_TRUE(FailsWithOneLine(
        world.run({"init", "--dir", dir, "--login", "alice", "--password-stdin"}, ""), "no password given"));
    EXPECT_FALSE(std::filesystem::exists(world.profile()));
}

// A registry that cannot be read is not "no profile yet": nothing is made, nothing opened.
TEST(CliInit, ADamagedRegistryIsNeverTakenForNoProfile)
{
    CliWorld world;
    const std::filesystem::path registry = world.home() / ".config" / "kestrelyn-vormaplex" / "registry";
    std::filesystem::create_directories(registry);
    const std::filesystem::path hive = registry / "HKEY_CURRENT_USER.sqlite";
    CliWorld::WriteFile(hive, "damaged hive, not a database");

    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"sites"},
          std::vector<std::string>{"init", "--dir", world.profile().string(), "--login-choice", "4"}})
        EXPECT_TRUE(FailsWithOneLine(world.run(arguments),
                                     "cannot read the settings in the registry folder " + registry.string()))
            << arguments.front();
    EXPECT_FALSE(std::filesystem::exists(world.profile()));
    EXPECT_EQ(CliWorld::ReadFile(hive), "damaged hive, not a database");
}

// A registry that reads but refuses the record: the profile made stays on disk, to be chosen
// at the program's next start, and the tool says so instead of reporting success.
TEST(CliInit, ARegistryThatRefusesTheRecordIsAFailure)
{
    CliWorld world;
    const std::filesystem::path registry = world.home() / ".config" / "kestrelyn-vormaplex" / "registry";
    {
        SqliteRegistryBackend backend(registry);
        ASSERT_NE(clsRegAccess(backend).WriteString("HKCU\\Software\\Other", "kept", "yes"), 0);
    }
    if (!world.runUnprivileged())
        GTEST_SKIP() << "cannot run the tool as an unprivileged user here";
    const std::filesystem::path hive = registry / "HKEY_CURRENT_USER.sqlite";
    ASSERT_EQ(chmod(hive.c_str(), 0444), 0);
    ASSERT_EQ(chmod(registry.c_str(), 0555), 0);

    EXPECT_TRUE(
        FailsWithOneLine(world.run({"init", "--dir", world.profile().string(), "--login-choice", "4"}),
                         "refused to record it"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"sites"}), "no profile yet"));
    chmod(registry.c_str(), 0700);
    bool settingsKept = false;
    for (const auto& entry : std::filesystem::directory_iterator(world.profile()))
        settingsKept = settingsKept || entry.path().extension() == ".ini";
    EXPECT_TRUE(settingsKept) << "the profile made must stay to be found again";
}

class CliOwnLogin : public ::testing::Test {
protected:
    void SetUp() override
    {
        const CliResult made = world.run({"init", "--dir", world.profile().string(), "--login-choice", "1",
                                          "--login", "Alice", "--password-stdin", "--no-categories"},
                                         "s3cret Pass\n");
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }
    CliWorld world;
};

TEST_F(CliOwnLogin, RightPasswordOpensTheProfile)
{
    const CliResult opened = world.run({"sites", "--password-stdin"}, "s3cret Pass\n");
    EXPECT_EQ(opened.exitCode, 0) << opened.err;
    EXPECT_EQ(opened.err, "");
}

TEST_F(CliOwnLogin, WrongPasswordsRunThroughTheAttemptsAndFail)
{
    const CliResult refused = world.run({"sites", "--password-stdin"}, "wrong\ns3cret pass\nS3CRET PASS\n");
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_EQ(refused.errLines(), (std::vector<std::string>{
                                      "kestrelyn-cli: Access Denied! TRY AGAIN YOU HAVE 2 TIMES LEFT",
                                      "kestrelyn-cli: Access Denied! TRY AGAIN YOU HAVE 1 TIMES LEFT",
                                      "kestrelyn-cli: access denied",
                                  }));
    EXPECT_EQ(refused.out, "");
    // A wrong try, then the right one, within the attempts.
    EXPECT_EQ(world.run({"sites", "--password-stdin"}, "wrong\ns3cret Pass\n").exitCode, 0);
}

TEST_F(CliOwnLogin, WithoutATerminalOrStandardInputNothingIsOpened)
{
    const CliResult refused = world.run({"sites"});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.err.find("--password-stdin"), std::string::npos);
    EXPECT_NE(world.run({"sites", "--password-stdin"}, "").exitCode, 0);
}

TEST(CliBlock, AddRemoveRenumbersAndClearAsksFirst)
{
    CliWorld world;
    ASSERT_NO_FATAL_FAILURE(world.initOpenProfile({"--no-categories"}));
    for (const char* url : {"https://a.example/login", "https://b.example/login", "https://c.example/login"})
        ASSERT_EQ(world.run({"block", "add", url}).exitCode, 0);
    EXPECT_EQ(world.run({"block", "list"}).out,
              "1\thttps://a.example/login\n2\thttps://b.example/login\n3\thttps://c.example/login\n");
    ASSERT_EQ(world.run({"block", "remove", "2"}).exitCode, 0);
    EXPECT_EQ(world.run({"block", "list"}).out, "1\thttps://a.example/login\n2\thttps://c.example/login\n");
    for (const char* number : {"3", "0", "-1", "x", "1.5"})
        EXPECT_TRUE(FailsWithOneLine(world.run({"block", "remove", number}), "no blocked address")) << number;
    EXPECT_TRUE(FailsWithOneLine(world.run({"block", "add", "two\nlines"}), "one line"));

    EXPECT_TRUE(FailsWithOneLine(world.run({"block", "clear"}), "kept"));
    EXPECT_EQ(world.run({"block", "list"}).out, "1\thttps://a.example/login\n2\thttps://c.example/login\n");
    ASSERT_EQ(world.run({"block", "clear", "--yes"}).exitCode, 0);
    EXPECT_EQ(world.run({"block", "list"}).out, "");
}

TEST(CliCommandLine, EveryMistakeIsOneLineAndAFailure)
{
    CliWorld world;
    EXPECT_TRUE(FailsWithOneLine(world.run({"frobnicate"}), "unknown command 'frobnicate'"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"sites", "--colour"}), "unknown option '--colour'"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"sites", "--folder"}), "needs a value"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"generate", "--json=1"}), "unknown option"));
    EXPECT_TRUE(FailsWithOneLine(world.run({"block", "frob"}), "no profile yet"));
    EXPECT_NE(world.run({}).exitCode, 0);
    for (const char* command : {"init", "sites", "show", "search", "login", "generate", "audit", "timesaved",
                                "export", "import", "block"}) {
        const CliResult help = world.run({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("Usage: kestrelyn-cli ") + command, 0), 0u) << command;
    }
}

TEST(CliGenerate, MakesPasswordsOfTheChosenSetWithoutAProfile)
{
    CliWorld world;
    const CliResult digits = world.run({"generate", "--length", "12", "--count", "3", "--set", "2"});
    ASSERT_EQ(digits.exitCode, 0) << digits.err;
    ASSERT_EQ(digits.out.size(), 3u * 13u);
    EXPECT_EQ(digits.out.find_first_not_of("0123456789\n"), std::string::npos);
    const CliResult defaults = world.run({"generate"});
    EXPECT_EQ(defaults.out.size(), 10u * 9u);
    EXPECT_EQ(defaults.out.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ\n"), std::string::npos);
    EXPECT_TRUE(FailsWithOneLine(world.run({"generate", "--length", "3"}),
                                 "Your password must be at least 4 characters in length."));
    EXPECT_TRUE(
        FailsWithOneLine(world.run({"generate", "--count", "0"}), "Your must make at least 1 password."));
    EXPECT_TRUE(FailsWithOneLine(world.run({"generate", "--set", "6"}), "--set"));
}

} // namespace
} // namespace kv::test
