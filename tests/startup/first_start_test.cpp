// A first start: the wizard's results become a settings file, registry values and folders.
#include "start_up_world.h"

#include "startup/create_profile.h"
#include "startup/profile.h"
#include "startup/startup_texts.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

struct ChoiceCase {
    int choice;
    std::vector<std::string> securityKeys;
    std::string securityEnabled;
};

class FirstStart : public testing::TestWithParam<ChoiceCase> {};

std::string Decrypted(const fs::path& file, std::string_view key, const std::string& cipherKey)
{
    auto value = DecryptValue(ReadIniValue(kSecuritySection, key, file), cipherKey);
    return value ? *value : "<" + value.error().description + ">";
}

TEST_P(FirstStart, WritesExactlyTheKeysOfTheLoginChoice)
{
    const ChoiceCase& c = GetParam();
    StartUpWorld world;
    world.scriptFirstRun(c.choice);
    if (c.choice == 2 || c.choice == 3)
        world.scriptLogin("alice", "account password");
    if (c.choice == 1 || c.choice == 3)
        world.scriptLogin("bob", "S3cret");

    ASSERT_TRUE(world.start());

    const fs::path file = world.settingsFile();
    EXPECT_EQ(ProfileFile(), file);
    EXPECT_EQ(world.registryValue("ProfileName"), "alice");
    EXPECT_EQ(world.registryValue("ProfilePath"), world.profileDir().string());
    EXPECT_EQ(SectionKeys(file, "Security"), c.securityKeys);
    EXPECT_EQ(SectionKeys(file, "Options"),
              (std::vector<std::string>{"EXITWARNING", "MAXIE", "MINIE", "LEFT", "TOP", "HOTKEYON", "HOLDKEY",
                                        "PRESSKEY"}));
    const std::pair<std::string_view, std::string_view> defaults[] = {
        {EXITWARNING, "1"}, {MAXIE, "1"},    {MINIE, "0"},         {LEFT, "2000"},
        {TOP, "2000"},      {HOTKEYON, "0"}, {HOLDKEY, "Control"}, {PRESSKEY, "Up"}};
    for (const auto& [key, value] : defaults)
        EXPECT_EQ(ReadIniValue(kOptionsSection, key, file), value) << key;

    const std::string serialPart = VolumeSerialPart(world.machine.serial);
    const std::string machineKey = MachineKey(serialPart);
    const std::string profileKey = Decrypted(file, ENCRYPTION_KEY, machineKey);
    ASSERT_EQ(profileKey.size(), 25u);
    EXPECT_EQ(CurrentCipherKeys().valueKey, ValueKey(serialPart, profileKey));
    const std::string valueKey = CurrentCipherKeys().valueKey;
    EXPECT_EQ(Decrypted(file, SECURITY_ENABLED, valueKey), c.securityEnabled);
    EXPECT_EQ(Decrypted(file, LOGIN_COUNT, valueKey), "3");
    if (c.choice != 4) {
        EXPECT_EQ(Decrypted(file, LOGIN_CHOICE, machineKey), std::to_string(c.choice));
    }
    if (c.choice == 1 || c.choice == 3) {
        EXPECT_EQ(Decrypted(file, LOGIN, valueKey), "Bob");
        EXPECT_EQ(Decrypted(file, PASS, valueKey), "S3cret");
    }
    EXPECT_EQ(world.dialogs.messages(), std::vector<std::string>{});
    EXPECT_EQ(world.shortcuts.calls, std::vector<std::string>{"createQuickLaunchShortcut"});
}

INSTANTIATE_TEST_SUITE_P(
    LoginChoices, FirstStart,
    testing::Values(
        ChoiceCase{
            1, {"ENCRYPTION KEY", "LOGIN CHOICE", "SECURITY ENABLED", "LOGIN", "PASS", "LOGIN COUNT"}, "1"},
        ChoiceCase{2, {"ENCRYPTION KEY", "LOGIN CHOICE", "SECURITY ENABLED", "LOGIN COUNT"}, "1"},
        ChoiceCase{
            3, {"ENCRYPTION KEY", "LOGIN CHOICE", "SECURITY ENABLED", "LOGIN", "PASS", "LOGIN COUNT"}, "1"},
        ChoiceCase{4, {"ENCRYPTION KEY", "SECURITY ENABLED", "LOGIN COUNT"}, "0"}),
    [](const auto& info) { return "Choice" + std::to_string(info.param.choice); });

TEST(FirstStartFolders, SampleFoldersOnlyWhenAskedAndEverythingOwnerOnly)
{
    StartUpWorld withFolders;
    withFolders.scriptFirstRun(4, true);
    ASSERT_TRUE(withFolders.start());
    for (const std::string_view category : kSampleCategories)
        EXPECT_TRUE(fs::is_directory(withFolders.profileDir() / category)) << category;
    struct stat info {};
    ASSERT_EQ(stat(withFolders.profileDir().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(stat((withFolders.profileDir() / "Music/Rock").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(stat(withFolders.settingsFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u);

    StartUpWorld withoutFolders;
    withoutFolders.scriptFirstRun(4, false);
    ASSERT_TRUE(withoutFolders.start());
    std::vector<fs::path> entries(fs::directory_iterator(withoutFolders.profileDir()), {});
    EXPECT_EQ(entries, std::vector<fs::path>{withoutFolders.settingsFile()});
}

TEST(FirstStartThenAgain, NoLoginChoiceStartsWithoutAnyDialog)
{
    StartUpWorld world;
    world.scriptFirstRun(4);
    ASSERT_TRUE(world.start());
    const std::vector<std::string> formsAtFirstStart = world.dialogs.forms();

    SetCipherKeys({});
    SetCurrentProfile({});
    ASSERT_TRUE(world.start());

    EXPECT_EQ(world.dialogs.forms(), formsAtFirstStart);
    EXPECT_EQ(world.dialogs.forms(), std::vector<std::string>{"frmWizard"});
    EXPECT_EQ(world.dialogs.messages(), std::vector<std::string>{});
    EXPECT_EQ(CurrentProfile().path, world.profileDir());
    EXPECT_FALSE(CurrentCipherKeys().valueKey.empty());
}

TEST(FirstStartAbandoned, ClosingTheWizardEndsSilentlyAndWritesNothing)
{
    StartUpWorld world;
    world.dialogs.onWizard([](FirstRunWizard&) {});
    EXPECT_FALSE(world.start());
    EXPECT_EQ(world.dialogs.messages(), std::vector<std::string>{});
    EXPECT_EQ(world.registryValue("ProfileName"), "");
    EXPECT_FALSE(fs::exists(world.profileDir()));
}

TEST(FirstStartAbandoned, CancelledOwnLoginKeepsTheWizardOpen)
{
    StartUpWorld world;
    bool finished = true;
    world.dialogs.onWizard([&](FirstRunWizard& wizard) {
        for (int x = 0; !wizard.tmrGData_Timer(x, 1); ++x) {
        }
        world.dialogs.onCreateLogin([](CreateLoginDialog&) {});
        finished = wizard.cmdFinish_Click(wizard.defaultDirectory(), 3, true);
    });
    EXPECT_FALSE(world.start());
    EXPECT_FALSE(finished);
    EXPECT_EQ(world.dialogs.forms(), (std::vector<std::string>{"frmWizard", "frmCreateLogin"}));
}

// A profile made earlier, at the place where the wizard proposes to make one.
void MakeEarlierProfile(StartUpWorld& world)
{
    ASSERT_TRUE(
        CreateProfile({"alice", world.profileDir().string(), "EARLIERPR0F1LEKEY25CHARSX", "4", "", "", false},
                      world.machine.serial, world.shortcuts));
    world.shortcuts.calls.clear();
}

// A registry that cannot be read says nothing about whether a profile exists: starting
// over would put a new key over the one the user's sites were written with.
TEST(RegistryTroubles, ADamagedRegistryEndsTheStartAndTouchesNothing)
{
    StartUpWorld world;
    MakeEarlierProfile(world);
    const std::string profileBefore = FileBytes(world.settingsFile());
    fs::create_directories(world.registryDir());
    const fs::path hive = world.registryDir() / "HKEY_CURRENT_USER.sqlite";
    std::ofstream(hive, std::ios::binary) << "damaged hive, not a database";
    world.scriptFirstRun(4);

    EXPECT_FALSE(world.start());

    EXPECT_TRUE(world.dialogs.forms().empty()) << "the first-run wizard must not run";
    ASSERT_EQ(world.dialogs.messages().size(), 1u);
    EXPECT_EQ(world.dialogs.messages()[0], std::string(kRegistryUnreadable) + "\n" +
                                               world.registryDir().string() + "\n\n" +
                                               std::string(kRegistryUnreadableEnd));
    EXPECT_EQ(FileBytes(world.settingsFile()), profileBefore);
    EXPECT_EQ(FileBytes(hive), "damaged hive, not a database");
}

TEST(RegistryTroubles, AProfileFoundWhereTheWizardMakesOneIsOfferedAndNeverOverwritten)
{
    for (const Dialogs::Answer answer : {Dialogs::Answer::No, Dialogs::Answer::Yes}) {
        StartUpWorld world;
        MakeEarlierProfile(world);
        const std::string profileBefore = FileBytes(world.settingsFile());
        world.scriptFirstRun(4);
        world.dialogs.answer(answer);

        EXPECT_EQ(world.start(), answer == Dialogs::Answer::Yes);

        EXPECT_EQ(world.dialogs.asked(),
                  std::vector<std::string>{"A profile for 'alice' already exists in:\n" +
                                           world.profileDir().string() + "\n\n" +
                                           std::string(kProfileFoundEnd)});
        EXPECT_EQ(FileBytes(world.settingsFile()), profileBefore);
        EXPECT_TRUE(world.shortcuts.calls.empty()) << "nothing of a new profile is made";
        if (answer == Dialogs::Answer::Yes) {
            EXPECT_EQ(world.registryValue("ProfilePath"), world.profileDir().string());
            EXPECT_EQ(CurrentCipherKeys().valueKey,
                      ValueKey(VolumeSerialPart(world.machine.serial), "EARLIERPR0F1LEKEY25CHARSX"));
        } else {
            EXPECT_EQ(world.registryValue("ProfileName"), "");
        }
    }
}

} // namespace
} // namespace kv::test
