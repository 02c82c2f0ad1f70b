// Opening an existing profile: a moved directory, a damaged or foreign settings file.
#include "start_up_world.h"

#include "startup/profile.h"
#include "startup/startup_texts.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

// A world whose profile (login choice 4) was made by an earlier start.
class ExistingProfile : public testing::Test {
protected:
    void SetUp() override
    {
        world.scriptFirstRun(4, false);
        ASSERT_TRUE(world.start());
        SetCipherKeys({});
        SetCurrentProfile({});
    }

    std::string missingQuestion(const fs::path& path) const
    {
        return "Kestrelyn was unable to detect the file for profile 'alice.ini' in target directory:\n" +
               path.string() +
               "\nPlease insert the drive or power it up.  The drive must be mounted and available from the "
               "filesystem.\n\nPress Yes to attempt to read profile from target directory\nPress No to "
               "select new "
               "source directory\nPress cancel to close Kestrelyn";
    }

    StartUpWorld world;
};

TEST_F(ExistingProfile, MovedDirectoryIsFoundAgainThroughNo)
{
    const fs::path moved = world.temp / "usb" / "Kestrelyn";
    fs::create_directories(moved.parent_path());
    fs::rename(world.profileDir(), moved);
    world.dialogs.answer(Dialogs::Answer::No);
    world.dialogs.pickFolder(moved);

    ASSERT_TRUE(world.start());

    EXPECT_EQ(world.dialogs.asked(), std::vector<std::string>{missingQuestion(world.profileDir())});
    EXPECT_EQ(world.dialogs.prompts(), std::vector<std::string>{"Select A Directory"});
    EXPECT_EQ(world.registryValue("ProfilePath"), moved.string());
    EXPECT_EQ(ProfileFile(), moved / "alice.ini");
    EXPECT_FALSE(CurrentCipherKeys().valueKey.empty());
}

// Plugs the drive back in while the question is open.
class DriveReturnsWhileAsking : public ScriptedDialogs {
public:
    DriveReturnsWhileAsking(fs::path from, fs::path to) : from_(std::move(from)), to_(std::move(to)) {}
    Answer ask(std::string_view text, Buttons buttons, Icon icon, std::string_view title = {}) override
    {
        fs::rename(from_, to_);
        return ScriptedDialogs::ask(text, buttons, icon, title);
    }

private:
    fs::path from_, to_;
};

TEST_F(ExistingProfile, YesReadsTheProfileAgainOnceTheDriveIsBack)
{
    const fs::path unplugged = world.temp / "unplugged";
    fs::rename(world.profileDir(), unplugged);
    DriveReturnsWhileAsking dialogs(unplugged, world.profileDir());
    dialogs.answer(Dialogs::Answer::Yes);

    ASSERT_TRUE(world.startWith(dialogs));

    EXPECT_EQ(dialogs.asked().size(), 1u);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(ProfileFile(), world.settingsFile());
}

TEST_F(ExistingProfile, EveryOtherAnswerEndsWithItsMessageAndKeepsTheRecordedPath)
{
    const fs::path recorded = world.profileDir();
    const fs::path elsewhere = world.temp / "elsewhere";
    fs::rename(recorded, elsewhere);
    struct Case {
        Dialogs::Answer answer;
        std::optional<fs::path> folder;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {Dialogs::Answer::Yes, std::nullopt, {"Second read of profile failed."}},
        {Dialogs::Answer::No, std::nullopt, {"A source directory was not selected."}},
        {Dialogs::Answer::No, world.temp / "no such folder", {"A source directory was not selected."}},
        {Dialogs::Answer::No, world.temp.path(), {"Second read of profile failed."}},
        {Dialogs::Answer::Cancel, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        dialogs.answer(c.answer);
        if (c.answer == Dialogs::Answer::No)
            dialogs.pickFolder(c.folder);
        EXPECT_FALSE(world.startWith(dialogs));
        EXPECT_EQ(dialogs.messages(), c.messages);
        EXPECT_EQ(world.registryValue("ProfilePath"), recorded.string());
    }
}

TEST_F(ExistingProfile, SettingsFileFromAnotherMachineIsRefusedAndLeftAsItWas)
{
    const std::string before = FileBytes(world.settingsFile());
    world.machine.serial = 0x7E57C0DEu;

    EXPECT_FALSE(world.start());

    ASSERT_EQ(world.dialogs.messages().size(), 1u);
    const std::string& shown = world.dialogs.messages()[0];
    const bool lengthShown = !shown.empty() && shown.find_first_not_of("0123456789") == std::string::npos;
    EXPECT_TRUE(lengthShown || shown == "Incorrect size descriptor in Blowfish decryption") << shown;
    EXPECT_NE(shown, "25");
    EXPECT_EQ(FileBytes(world.settingsFile()), before);
    EXPECT_TRUE(CurrentCipherKeys().valueKey.empty());
}

TEST_F(ExistingProfile, DamagedProfileKeyEndsWithAMessageAndNothingOverwritten)
{
    for (const std::string damaged : {"", "ZZ QQ", "01 02 03"}) {
        WriteIniValue(kSecuritySection, ENCRYPTION_KEY, damaged, world.settingsFile());
        const std::string before = FileBytes(world.settingsFile());
        ScriptedDialogs dialogs;

        EXPECT_FALSE(world.startWith(dialogs)) << damaged;

        EXPECT_EQ(dialogs.messages().size(), 1u) << damaged;
        EXPECT_EQ(FileBytes(world.settingsFile()), before) << damaged;
    }
}

TEST_F(ExistingProfile, ProfileOfAnotherAccountNameIsNotOpened)
{
    world.user.userName = "mallory";
    EXPECT_FALSE(world.start());
    EXPECT_EQ(world.dialogs.messages(),
              std::vector<std::string>{
                  "The profile recorded for this account belongs to 'alice'.  Application will "
                  "now terminate."});
    EXPECT_TRUE(CurrentProfile().name.empty());
}

TEST_F(ExistingProfile, RegistryNamingNoDirectoryAsksForIt)
{
    world.registry.WriteString(kProfileRegistry, "ProfilePath", "");
    world.dialogs.answer(Dialogs::Answer::No);
    world.dialogs.pickFolder(world.profileDir());

    ASSERT_TRUE(world.start());

    EXPECT_EQ(world.dialogs.asked().size(), 1u);
    EXPECT_EQ(world.registryValue("ProfilePath"), world.profileDir().string());
}

TEST_F(ExistingProfile, TempFilesOfWritesCutShortAreGoneAfterTheStart)
{
    const fs::path stale = world.profileDir() / "Mail" / ".Inbox.QVR.Ab12Cd";
    const fs::path fresh = world.profileDir() / ".kv-Ab12Cd";
    fs::create_directories(stale.parent_path());
    std::ofstream(stale) << "[Main]\n";
    std::ofstream(fresh) << "[Main]\n";
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::minutes(5));

    ASSERT_TRUE(world.start());

    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(fresh)) << "a write still in progress keeps its temp file";
}

} // namespace
} // namespace kv::test
