#include "hotkeys/hotkey_dispatch.h"

#include "fake_hide_show_window.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

struct HotkeyDispatchTest : ::testing::Test {
    FakeHideShowWindow window;
    std::vector<int> logins;
    HotkeyDispatch dispatch{window, [this](int n) { logins.push_back(n); }};
};

TEST_F(HotkeyDispatchTest, TheHideShowKeyHidesThenShowsTheWindow)
{
    dispatch.HotkeyPressed(0);
    EXPECT_FALSE(window.visible);
    dispatch.HotkeyPressed(0);
    EXPECT_TRUE(window.visible);
    EXPECT_TRUE(logins.empty());
}

TEST_F(HotkeyDispatchTest, NothingHappensWhileTheSaveSiteQuestionIsOpen)
{
    window.open = {HotkeyDialog::SaveSite, HotkeyDialog::SiteDetails};
    dispatch.HotkeyPressed(0);
    EXPECT_TRUE(window.visible);
    EXPECT_TRUE(window.closed.empty());
}

TEST_F(HotkeyDispatchTest, TheDialogsOfTheWindowCloseBeforeItHides)
{
    window.open = {HotkeyDialog::AuditDetail, HotkeyDialog::SiteDetails, HotkeyDialog::AddSite};
    dispatch.HotkeyPressed(0);
    EXPECT_EQ(window.closed, (std::vector<HotkeyDialog>{HotkeyDialog::SiteDetails, HotkeyDialog::AddSite,
                                                        HotkeyDialog::AuditDetail}));
    EXPECT_FALSE(window.visible);
}

TEST_F(HotkeyDispatchTest, SiteHotkeysLogIntoTheirListAndOtherIdsDoNothing)
{
    for (int id : {1, 10, 11, -1, 4})
        dispatch.HotkeyPressed(id);
    EXPECT_EQ(logins, (std::vector<int>{1, 10, 4}));
    EXPECT_TRUE(window.visible);
}

} // namespace
} // namespace kv::test
