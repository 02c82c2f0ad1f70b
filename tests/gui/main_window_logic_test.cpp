#include "common/scripted_dialogs.h"
#include "gui_test_support.h"
#include "mainwindow/help_address.h"
#include "mainwindow/main_window_logic.h"
#include "mainwindow/main_window_texts.h"
#include "storage/ini_values.h"
#include "version.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

class FakeView : public MainWindowView {
public:
    explicit FakeView(MainWindowLogic*& logic) : logic_(logic) {}
    // The bar reports a selection by item id, as the real one does.
    void selectBarPosition(int position) override
    {
        calls.push_back("select " + std::to_string(position));
        logic_->onAreaSelected(position + 1);
    }
    void hideAllAreas() override { calls.push_back("hide"); }
    void showArea(int barId) override { calls.push_back("show " + std::to_string(barId)); }
    void reloadSitesTree() override { calls.push_back("reload"); }
    void closeWindow() override { calls.push_back("close"); }
    TwipPoint windowPosition() const override { return position; }

    std::vector<std::string> calls;
    TwipPoint position{1500, 300};

private:
    MainWindowLogic*& logic_;
};

struct MainWindowLogicTest : ::testing::Test {
    MainWindowLogicTest() : view(logicPointer), logic(profile.file(), view, dialogs, launcher, steps())
    {
        logicPointer = &logic;
    }
    ShutdownSteps steps()
    {
        return {[this] { order.push_back("cleanup"); }, [this] { order.push_back("hotkeys"); }};
    }

    TestProfile profile;
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    std::vector<std::string> order;
    MainWindowLogic* logicPointer = nullptr;
    FakeView view;
    MainWindowLogic logic;
};

TEST(HelpAddress, VersionTextKeepsTheLastThreeDigitsOfEachNumber)
{
    EXPECT_EQ(VersionQueryText(2, 0, 7), "002000007");
    EXPECT_EQ(VersionQueryText(1, 2, 34), "001002034");
    EXPECT_EQ(VersionQueryText(1234, 5, 0), "234005000");
    EXPECT_EQ(HelpAddress(1, "002000007"),
              std::string(kMakerSite) + "/support/hotkeys.asp?version=002000007");
    EXPECT_EQ(HelpAddress(10, "002000007"), "");
    EXPECT_EQ(VersionLabel(2, 0, 7), "Version 2.0.7");
}

TEST_F(MainWindowLogicTest, AreaCommandsSelectTheBarPositionAndSwitchThroughTheSelection)
{
    logic.onCommand(106);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"select 6", "hide", "show 7"}));
    EXPECT_EQ(logic.selectedPosition(), 6);

    view.calls.clear();
    logic.onCommand(111);
    logic.onCommand(99);
    EXPECT_TRUE(view.calls.empty());
    logic.onCommand(110);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"close"}));
}

TEST_F(MainWindowLogicTest, F5RebuildsOnlyInSitesAndF1OpensTheSelectedAreasHelp)
{
    logic.onKeyDown(kKeyF1);
    EXPECT_TRUE(launcher.opened.empty()) << "no area selected: nothing opens";

    logic.onAreaSelected(2);
    view.calls.clear();
    logic.onKeyDown(kKeyF5);
    EXPECT_TRUE(view.calls.empty());
    logic.onKeyDown(kKeyF1);
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0],
              HelpAddress(1, VersionQueryText(kVersionMajor, kVersionMinor, kVersionRevision)));

    logic.onAreaSelected(1);
    view.calls.clear();
    logic.onKeyDown(kKeyF5);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"reload"}));
}

TEST_F(MainWindowLogicTest, NewsOpensItsPageEachTimeItIsSelected)
{
    logic.onAreaSelected(9);
    logic.onAreaSelected(9);
    EXPECT_EQ(launcher.opened, (std::vector<std::string>{NewsAddress(), NewsAddress()}));
    logic.onCommand(112);
    EXPECT_EQ(launcher.opened.back(),
              HelpAddress(8, VersionQueryText(kVersionMajor, kVersionMinor, kVersionRevision)));
}

TEST_F(MainWindowLogicTest, ExitWithoutWarningClosesAtOnceAndSavesThePosition)
{
    WriteIniValue("Options", "EXITWARNING", "0", profile.file());
    EXPECT_TRUE(logic.onUnloadRequest());
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(order, (std::vector<std::string>{"cleanup", "hotkeys"}));
    EXPECT_EQ(ReadIniValue("Options", "LEFT", profile.file()), "1500");
    EXPECT_EQ(ReadIniValue("Options", "TOP", profile.file()), "300");
}

TEST_F(MainWindowLogicTest, ExitWarningAsksAndNoKeepsTheWindowAfterTheCleanupRan)
{
    WriteIniValue("Options", "EXITWARNING", "1", profile.file());
    dialogs.answer(Dialogs::Answer::No);
    EXPECT_FALSE(logic.onUnloadRequest());
    EXPECT_EQ(dialogs.asked(), (std::vector<std::string>{std::string(kExitQuestion)}));
    EXPECT_EQ(order, (std::vector<std::string>{"cleanup"}));
    EXPECT_EQ(ReadIniValue("Options", "LEFT", profile.file()), "");

    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(logic.onUnloadRequest());
    EXPECT_EQ(ReadIniValue("Options", "TOP", profile.file()), "300");
}

TEST_F(MainWindowLogicTest, AnUnreadableExitWarningStillAsks)
{
    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(logic.onUnloadRequest());
    EXPECT_EQ(dialogs.asked().size(), 1u);
}

TEST_F(MainWindowLogicTest, PositionIsCentredWhenMissingOrBelowMinusOne)
{
    const TwipSize screen{19200, 14400};
    const TwipSize window{9000, 7000};
    TwipPoint centred = logic.restoredPosition(screen, window);
    EXPECT_EQ(centred.left, 5100);
    EXPECT_EQ(centred.top, 3700);

    WriteIniValue("Options", "LEFT", "-1", profile.file());
    WriteIniValue("Options", "TOP", "-2", profile.file());
    TwipPoint stored = logic.restoredPosition(screen, window);
    EXPECT_EQ(stored.left, -1);
    EXPECT_EQ(stored.top, 3700);

    WriteIniValue("Options", "LEFT", "120", profile.file());
    WriteIniValue("Options", "TOP", "abc", profile.file());
    stored = logic.restoredPosition(screen, window);
    EXPECT_EQ(stored.left, 120);
    EXPECT_EQ(stored.top, 3700);
}

TEST_F(MainWindowLogicTest, MissingNimbraseIsRepairedAndOtherValuesAreLeftAlone)
{
    EXPECT_EQ(logic.loadNimbrase(), false);
    EXPECT_EQ(ReadIniValue("Options", "NIMBRASE", profile.file()), "0");
    WriteIniValue("Options", "NIMBRASE", "1", profile.file());
    EXPECT_EQ(logic.loadNimbrase(), true);
    WriteIniValue("Options", "NIMBRASE", "7", profile.file());
    EXPECT_EQ(logic.loadNimbrase(), std::nullopt);
    EXPECT_EQ(ReadIniValue("Options", "NIMBRASE", profile.file()), "7");
}

} // namespace
} // namespace kv::test
