// The program's entries in the freedesktop session: the autostart file behind the start-up
// registry value, the application-menu launcher with its icon, and the toolbar button key.
#include "common/temp_dir.h"
#include "platform/autostart_registry_backend.h"
#include "platform/desktop_entry.h"
#include "platform/xdg_launcher.h"
#include "startup/program_desktop_entries.h"
#include "startup/run_entry.h"
#include "startup/toolbar_button.h"
#include "storage/storage_test_files.h"
#include "support/sqlite_registry_backend.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

const std::string kRun(kRunKey);

struct Autostart : testing::Test {
    fs::path file() const { return temp / "config" / "autostart" / "kestrelyn-vormaplex.desktop"; }

    TempDir temp;
    SqliteRegistryBackend store{temp / "registry"};
    AutostartRegistryBackend backend{store, file()};
    clsRegAccess registry{backend};
};

TEST_F(Autostart, TheValueExistsExactlyWhileTheAutostartFileDoes)
{
    EXPECT_FALSE(RunEntryExists(registry));
    WriteRunEntry(registry, "/opt/kv/bin/kestrelyn-vormaplex");
    ASSERT_TRUE(fs::exists(file()));
    EXPECT_TRUE(RunEntryExists(registry));
    EXPECT_EQ(registry.ReadString(kRun, "kestrelyn VORMAPLEX", ""), "/opt/kv/bin/kestrelyn-vormaplex")
        << "value names compare without case";
    const std::string text = FileText(file());
    EXPECT_NE(text.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
    EXPECT_NE(text.find("\nExec=\"/opt/kv/bin/kestrelyn-vormaplex\"\n"), std::string::npos);

    RemoveRunEntry(registry);
    EXPECT_FALSE(fs::exists(file()));
    EXPECT_FALSE(RunEntryExists(registry));

    // Made by the desktop's own session settings: the program sees it as its entry.
    WriteFileText(file(), "[Desktop Entry]\nType=Application\nExec=/usr/bin/kestrelyn-vormaplex --x\n");
    EXPECT_TRUE(RunEntryExists(registry));
    EXPECT_EQ(registry.ReadString(kRun, std::string(kRunValue), ""), "/usr/bin/kestrelyn-vormaplex");
}

TEST_F(Autostart, OtherValuesOfTheKeyStayInTheStoreAndEnumerateWithIt)
{
    ASSERT_NE(registry.WriteString(kRun, "Other Program", "/usr/bin/other"), 0);
    WriteRunEntry(registry, "/opt/kv/bin/kestrelyn-vormaplex");
    std::vector<std::string> names;
    std::vector<RegValue> values;
    ASSERT_EQ(registry.EnumValues(kRun, names, values, -1), 2);
    EXPECT_EQ(names, (std::vector<std::string>{"Other Program", "Kestrelyn Vormaplex"}));
    EXPECT_EQ(std::get<std::string>(values[1]), "/opt/kv/bin/kestrelyn-vormaplex");
    RemoveRunEntry(registry);
    EXPECT_EQ(registry.ReadString(kRun, "Other Program", ""), "/usr/bin/other");
    EXPECT_EQ(registry.EnumValues(kRun, names, values, -1), 1);
}

TEST_F(Autostart, ProgramsAtAnyPathStartExactlyThatProgram)
{
    for (const char* program :
         {"/opt/My Apps/kv", "/p/a\"b", "/p/$HOME/`x`", "/p/back\\slash", "/p/100%/kv"}) {
        WriteRunEntry(registry, program);
        EXPECT_EQ(registry.ReadString(kRun, std::string(kRunValue), ""), program) << FileText(file());
        EXPECT_EQ(DesktopEntryProgram(FileText(file())), fs::path(program));
    }
}

TEST_F(Autostart, AFolderThatCannotBeWrittenLeavesTheValueAbsent)
{
    // A file where the autostart folder should be: no user, not even root, can write into it.
    fs::create_directories(file().parent_path().parent_path());
    WriteFileText(file().parent_path(), "not a folder");
    EXPECT_EQ(registry.WriteString(kRun, std::string(kRunValue), "/opt/kv"), 0);
    EXPECT_FALSE(RunEntryExists(registry));
}

TEST(AutostartWithoutAConfigFolder, TheValueCanNeitherBeWrittenNorFound)
{
    TempDir temp;
    SqliteRegistryBackend store{temp / "registry"};
    AutostartRegistryBackend backend{store, {}};
    clsRegAccess registry{backend};
    EXPECT_EQ(registry.WriteString(kRun, std::string(kRunValue), "/opt/kv"), 0);
    EXPECT_FALSE(RunEntryExists(registry));
}

TEST(XdgLauncher, InstallsTheMenuEntryWithItsIconAndRemovesBoth)
{
    TempDir temp;
    const fs::path icon = fs::path(KV_SOURCE_DIR) / "resources" / "icons" / "kestrelyn-vormaplex.svg";
    XdgLauncher launcher(temp / "data", "/opt/kv/bin/kestrelyn-vormaplex", icon);
    EXPECT_FALSE(launcher.installed());
    ASSERT_TRUE(launcher.install());
    EXPECT_TRUE(launcher.installed());
    EXPECT_EQ(launcher.entryFile(), temp / "data" / "applications" / "kestrelyn-vormaplex.desktop");
    EXPECT_EQ(launcher.iconFile(),
              temp / "data" / "icons" / "hicolor" / "scalable" / "apps" / "kestrelyn-vormaplex.svg");
    EXPECT_EQ(FileText(launcher.iconFile()), FileText(icon));
    const std::string entry = FileText(launcher.entryFile());
    for (const char* line : {"Name=Kestrelyn Vormaplex\n", "Exec=\"/opt/kv/bin/kestrelyn-vormaplex\"\n",
                             "Icon=kestrelyn-vormaplex\n", "Categories=Utility;Security;\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;

    launcher.remove();
    EXPECT_FALSE(fs::exists(launcher.entryFile()));
    EXPECT_FALSE(fs::exists(launcher.iconFile()));

    XdgLauncher nowhere({}, "/opt/kv", icon);
    EXPECT_FALSE(nowhere.install());
    EXPECT_FALSE(nowhere.installed());
}

TEST(ProgramDesktopEntries, TheToolbarButtonKeyHoldsTheButtonAndGoesAsAWhole)
{
    TempDir temp;
    SqliteRegistryBackend store{temp / "registry"};
    clsRegAccess registry{store};
    ProgramDesktopEntries entries(registry, XdgLauncher(temp / "data", "/opt/kv/bin/kv", "/none.svg"),
                                  "/opt/kv/bin/kv",
                                  "/opt/kv/share/kestrelyn-vormaplex/icons/kestrelyn-vormaplex.svg");
    EXPECT_FALSE(entries.toolbarButtonPresent());
    entries.addToolbarButton();
    EXPECT_TRUE(entries.toolbarButtonPresent());
    const std::string key(kToolbarButtonKey);
    EXPECT_EQ(registry.ReadString(key, "ButtonText", ""), "Kestrelyn Vormaplex");
    EXPECT_EQ(registry.ReadString(key, "CLSID", ""), "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}");
    EXPECT_EQ(registry.ReadString(key, "Default Visible", ""), "Yes");
    EXPECT_EQ(registry.ReadString(key, "Exec", ""), "/opt/kv/bin/kv");
    EXPECT_EQ(registry.ReadString(key, "Icon", ""),
              "/opt/kv/share/kestrelyn-vormaplex/icons/kestrelyn-vormaplex.svg");
    EXPECT_EQ(registry.ReadString(key, "HotIcon", ""), registry.ReadString(key, "Icon", ""));
    EXPECT_EQ(registry.ReadString(key, "MenuText", ""), "&Kestrelyn Vormaplex");
    EXPECT_EQ(registry.ReadString(key, "MenuStatusBar", ""), "Kestrelyn Vormaplex");
    entries.removeToolbarButton();
    EXPECT_FALSE(entries.toolbarButtonPresent());

    EXPECT_FALSE(entries.quickLaunchShortcutExists());
    entries.createQuickLaunchShortcut();
    EXPECT_TRUE(entries.quickLaunchShortcutExists());
    entries.deleteQuickLaunchShortcut();
    EXPECT_FALSE(entries.quickLaunchShortcutExists());
}

} // namespace
} // namespace kv::test
