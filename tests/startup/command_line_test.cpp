// The start-up sequence before the profile: browser check, switches, single instance.
#include "start_up_world.h"

#include "startup/run_entry.h"
#include "startup/startup_texts.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

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
    EXPECT_FALSE(world.startWith(second, world.terminator));
    EXPECT_EQ(world.dialogs.messages(), std::vector<std::string>{"Cannot load program again."});

    pollfd request{first.requestSocket(), POLLIN, 0};
    ASSERT_EQ(poll(&request, 1, 10000), 1) << "the refused start did not ask the first one to show itself";
    EXPECT_GE(InstanceConnection(first.acceptConnection()).fd(), 0);
}

TEST(StartUpSwitches, InstallWritesTheStartUpEntryAndEnds)
{
    StartUpWorld world;
    EXPECT_FALSE(world.start({"/install"}));
    EXPECT_EQ(world.registry.ReadString(kRun, "Kestrelyn Vormaplex", ""),
              "/opt/kestrelyn-vormaplex/bin/kestrelyn-vormaplex");
    // The session starts the program from its autostart folder.
    EXPECT_NE(FileBytes(world.autostartFile())
                  .find("\nExec=\"/opt/kestrelyn-vormaplex/bin/kestrelyn-vormaplex\"\n"),
              std::string::npos);
    EXPECT_EQ(world.shortcuts.calls, std::vector<std::string>{"addToolbarButton"});
    EXPECT_EQ(world.instance.claims, 0);
    EXPECT_TRUE(world.dialogs.forms().empty());

    EXPECT_FALSE(world.start({"/uninstall"}));
    EXPECT_FALSE(world.registry.ValueExists(kRun, "Kestrelyn Vormaplex"));
    EXPECT_FALSE(fs::exists(world.autostartFile()));
    EXPECT_EQ(world.shortcuts.calls, (std::vector<std::string>{"addToolbarButton", "removeToolbarButton",
                                                               "deleteQuickLaunchShortcut"}));
    EXPECT_TRUE(world.dialogs.messages().empty());
}

TEST(StartUpSwitches, UpdateRestartEndsTheOldProgramAndTakesItsPlaceWithoutRefusing)
{
    StartUpWorld world;
    world.instance.alone = false;
    world.scriptFirstRun(4);
    EXPECT_TRUE(world.start({"/updaterestart", "4242"}));
    EXPECT_EQ(world.terminator.terminated, std::vector<long>{4242});
    EXPECT_EQ(world.instance.claims, 0);
    EXPECT_EQ(world.instance.takeOvers, 1);
    EXPECT_TRUE(world.dialogs.messages().empty());

    for (const std::string word : {"/updaterestart 12ab", "/updaterestart", "/updaterestart -"}) {
        StartUpWorld other;
        other.scriptFirstRun(4);
        EXPECT_TRUE(other.start({word})) << word;
        EXPECT_TRUE(other.terminator.terminated.empty()) << word;
    }
}

// The old program, in a child process: holds the claim until it is ended.
pid_t StartClaimingProgram(const fs::path& runtime)
{
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        RuntimeDirInstanceLock lock(runtime);
        const char claimed = lock.claim() ? '1' : '0';
        const ssize_t ignored = write(ready[1], &claimed, 1);
        static_cast<void>(ignored);
        while (claimed == '1')
            pause();
        _exit(1);
    }
    close(ready[1]);
    char claimed = '0';
    const bool told = read(ready[0], &claimed, 1) == 1;
    close(ready[0]);
    return told && claimed == '1' ? child : -1;
}

TEST(StartUpSwitches, AfterAnUpdateRestartALaterStartIsRefused)
{
    TempDir runtime;
    const pid_t old = StartClaimingProgram(runtime.path());
    ASSERT_GT(old, 0);
    StartUpWorld world;
    world.scriptFirstRun(4);
    RuntimeDirInstanceLock restarted(runtime.path());
    SignalProcessTerminator terminator;
    EXPECT_TRUE(world.startWith(restarted, terminator, {"/updaterestart", std::to_string(old)}));
    int status = 0;
    ASSERT_EQ(waitpid(old, &status, 0), old);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the old program was not ended";

    RuntimeDirInstanceLock later(runtime.path());
    EXPECT_FALSE(later.claim()) << "a plain start after the update would open a second main window";
    EXPECT_TRUE(world.dialogs.messages().empty());
}

} // namespace
} // namespace kv::test
