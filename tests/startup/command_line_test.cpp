// The start-up sequence before the profile: browser check, switches, single instance.
#include "start_up_world.h"

#include "startup/startup_texts.h"

#include <gtest/gtest.h>
#include <poll.h>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

const std::string kRun(kRunKey);

TEST(StartUpChecks, WithoutASupportedBrowserNothingElseHappens)
{
    StartUpWorld world;
    world.context.supportedBrowserPresent = false;
    EXPECT_FALSE(world.start());
    EXPECT_EQ(
        world.dialogs.messages(),
        std::vector<std::string>{
            "Kestrelyn Vormaplex only supports Chromium.  Please upgrade and run the application again."});
    EXPECT_EQ(world.instance.claims, 0);
    EXPECT_TRUE(world.dialogs.forms().empty());
}

TEST(StartUpChecks, SecondInstanceIsRefusedWithTheTitleOfItsCommandLine)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "The requested application is already open."},
        {{"  "}, "The requested application is already open."},
        {{"--something"}, "The requested application is already open"},
    };
    for (const auto& [arguments, title] : cases) {
        StartUpWorld world;
        world.instance.alone = false;
        EXPECT_FALSE(world.start(arguments));
        EXPECT_EQ(world.dialogs.messages(), std::vector<std::string>{"Cannot load program again."});
        EXPECT_EQ(world.dialogs.titles(), std::vector<std::string>{title});
        EXPECT_TRUE(world.dialogs.forms().empty()) << "no profile is looked for";
        EXPECT_EQ(world.instance.showRequests, 1);
    }
}

TEST(StartUpChecks, SecondStartIsRefusedByTheRealLockOfTheFirst)
{
    TempDir runtime;
    RuntimeDirInstanceLock first(runtime.path());
    ASSERT_TRUE(first.claim());
    StartUpWorld world;
    RuntimeDirInstanceLock second(runtime.path());
    StartUpContext withLock{world.dialogs,
                            world.process,
                            world.registry,
                            world.machine,
                            world.user,
                            world.accounts,
                            second,
                            world.terminator,
                            world.shortcuts,
                            world.context.executable,
                            true};
    EXPECT_THROW(StartUp({}, withLock), ProgramEnded);
    EXPECT_EQ(world.dialogs.messages(), std::vector<std::string>{"Cannot load program again."});

    pollfd request{first.showRequestSocket(), POLLIN, 0};
    ASSERT_EQ(poll(&request, 1, 10000), 1) << "the refused start did not ask the first one to show itself";
    EXPECT_TRUE(first.takeShowRequest());
}

TEST(StartUpSwitches, InstallWritesTheStartUpEntryAndEnds)
{
    StartUpWorld world;
    EXPECT_FALSE(world.start({"/install"}));
    EXPECT_EQ(world.registry.ReadString(kRun, "Kestrelyn Vormaplex", ""),
              "/opt/kestrelyn-vormaplex/bin/kestrelyn-vormaplex");
    EXPECT_EQ(world.shortcuts.calls, std::vector<std::string>{"addToolbarButton"});
    EXPECT_EQ(world.instance.claims, 0);
    EXPECT_TRUE(world.dialogs.forms().empty());

    EXPECT_FALSE(world.start({"/uninstall"}));
    EXPECT_FALSE(world.registry.ValueExists(kRun, "Kestrelyn Vormaplex"));
    EXPECT_EQ(world.shortcuts.calls, (std::vector<std::string>{"addToolbarButton", "removeToolbarButton",
                                                               "deleteQuickLaunchShortcut"}));
    EXPECT_TRUE(world.dialogs.messages().empty());
}

TEST(StartUpSwitches, UpdateRestartEndsTheOldProgramAndSkipsTheInstanceCheck)
{
    StartUpWorld world;
    world.instance.alone = false;
    world.scriptFirstRun(4);
    EXPECT_TRUE(world.start({"/updaterestart", "4242"}));
    EXPECT_EQ(world.terminator.terminated, std::vector<long>{4242});
    EXPECT_EQ(world.instance.claims, 0);

    for (const std::string word : {"/updaterestart 12ab", "/updaterestart", "/updaterestart -"}) {
        StartUpWorld other;
        other.scriptFirstRun(4);
        EXPECT_TRUE(other.start({word})) << word;
        EXPECT_TRUE(other.terminator.terminated.empty()) << word;
    }
}

} // namespace
} // namespace kv::test
