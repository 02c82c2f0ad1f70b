#include "browser/window_tracker.h"

#include "browser_test_support.h"
#include "capture_surroundings.h"
#include "common/scripted_dialogs.h"
#include "fake_browser.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

class WindowTrackerTest : public ::testing::Test, protected CaptureSurroundings {
protected:
    std::shared_ptr<FakeBrowser> openWindow(std::string hwnd)
    {
        auto browser = std::make_shared<FakeBrowser>(std::move(hwnd));
        windows.open.push_back(browser);
        return browser;
    }

    FakeWindowList windows;
};

TEST_F(WindowTrackerTest, OneSinkPerOpenWindowConnectedToItsEvents)
{
    cIEWindows tracker(windows, context);
    EXPECT_EQ(tracker.Count(), 0);
    EXPECT_EQ(tracker.IE(1), nullptr);

    auto first = openWindow("w1");
    tracker.WindowRegistered();

    ASSERT_EQ(tracker.Count(), 1);
    EXPECT_EQ(tracker.IE(1)->IE(), first);
    EXPECT_EQ(first->sinks, std::vector<BrowserEvents*>{tracker.IE(1)});
    EXPECT_EQ(tracker.IE(0), nullptr);
    EXPECT_EQ(tracker.IE(2), nullptr);
}

TEST_F(WindowTrackerTest, EveryChangeRebuildsAllSinksAndLosesWhatTheyCaptured)
{
    auto first = openWindow("w1");
    first->locationUrl = "https://a.example/login";
    cIEWindows tracker(windows, context);
    const DocumentSnapshot page =
        Page("https://a.example/login").form({Text("user", "alice"), Password("pw", "secret")});
    tracker.IE(1)->DownloadBegin({"main", page, std::nullopt});
    ASSERT_TRUE(tracker.IE(1)->captured());

    auto second = openWindow("w2");
    tracker.WindowRegistered();

    ASSERT_EQ(tracker.Count(), 2);
    EXPECT_FALSE(tracker.IE(1)->captured());
    // The old sinks are disconnected: each window has exactly its one new sink.
    EXPECT_EQ(first->sinks, std::vector<BrowserEvents*>{tracker.IE(1)});
    EXPECT_EQ(second->sinks, std::vector<BrowserEvents*>{tracker.IE(2)});

    windows.open.erase(windows.open.begin());
    tracker.WindowRevoked();
    ASSERT_EQ(tracker.Count(), 1);
    EXPECT_EQ(tracker.IE(1)->IE(), second);
    EXPECT_TRUE(first->sinks.empty());
}

TEST_F(WindowTrackerTest, TheListEventsAreConnectedOnceAndReleasedAtTheEnd)
{
    {
        cIEWindows tracker(windows, context);
        tracker.WindowRegistered();
        tracker.WindowRevoked();
        EXPECT_EQ(windows.sinks.size(), 1u);
        EXPECT_EQ(windows.enumerations, 3);
    }
    EXPECT_TRUE(windows.sinks.empty());
}

TEST_F(WindowTrackerTest, PendingLoginsSurviveRebuilds)
{
    pending.add({"w1", profile.root() / "Shop.QVR", std::chrono::system_clock::now()});
    cIEWindows tracker(windows, context);
    openWindow("w1");
    for (int i = 0; i < 5; ++i)
        tracker.WindowRegistered();
    EXPECT_EQ(pending.Count(), 1u);
}

// A list that reports another window while it is being enumerated.
class ChangingWindowList : public FakeWindowList {
public:
    std::vector<std::shared_ptr<Browser>> windows() override
    {
        if (changesLeft > 0) {
            --changesLeft;
            open.push_back(std::make_shared<FakeBrowser>("late" + std::to_string(changesLeft)));
            for (auto* sink : sinks)
                sink->WindowRegistered();
        }
        return FakeWindowList::windows();
    }
    int changesLeft = 0;
};

TEST_F(WindowTrackerTest, AChangeDuringARebuildGetsARebuildOfItsOwn)
{
    ChangingWindowList changing;
    cIEWindows tracker(changing, context);
    changing.changesLeft = 2;

    tracker.WindowRegistered();

    EXPECT_EQ(tracker.Count(), 2);
    EXPECT_EQ(changing.enumerations, 4);
}

} // namespace
} // namespace kv::test
