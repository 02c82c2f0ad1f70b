// The Chromium session driven by the Qt event loop, as the program runs it.
#include "browser/chromium/qt_chromium_pump.h"
#include "e2e/chromium_fixture.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace kv::test {
namespace {

// Runs the Qt loop until done() holds or the limit passes.
bool SpinUntil(const std::function<bool()>& done, int limitMs = 20000)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(10);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

struct Sink : BrowserEvents {
    std::function<void(const DocumentCompleteEvent&)> onComplete;
    std::vector<std::string> completed;
    int depth = 0;
    int deepest = 0;
    void DocumentComplete(const DocumentCompleteEvent& event) override
    {
        deepest = std::max(deepest, ++depth);
        completed.push_back(event.url);
        if (onComplete)
            onComplete(event);
        --depth;
    }
    void BeforeNavigate2(const BeforeNavigateEvent&) override {}
    void DownloadBegin(const DownloadBeginEvent&) override {}
    void PasswordFieldAppeared(const PasswordFieldEvent&) override {}
    void ScriptRequestSent(const ScriptRequestEvent&) override {}
};

class QtChromiumPumpTest : public OwnChromiumTest {
protected:
    void SetUp() override
    {
        OwnChromiumTest::SetUp();
        if (session)
            pump = std::make_unique<QtChromiumPump>(session);
    }
    void TearDown() override
    {
        pump.reset();
        OwnChromiumTest::TearDown();
    }

    std::unique_ptr<QtChromiumPump> pump;
};

TEST_F(QtChromiumPumpTest, EventsRunOnTheLoopAndWaitOutANestedModalLoop)
{
    auto browser = session->createBrowser();
    ASSERT_TRUE(browser);
    Sink sink;
    browser->subscribe(sink);

    const std::string first = "data:text/html,<title>one</title><form><input type=password></form>";
    const std::string second = "data:text/html,<title>two</title>";
    bool heldWhileModal = false;
    sink.onComplete = [&](const DocumentCompleteEvent& event) {
        if (event.url != first)
            return;
        // As a modal question would: a nested loop runs while the next page loads.
        browser->Navigate(second);
        heldWhileModal = SpinUntil([&] { return session->hasPendingEvents(); });
    };
    browser->Navigate(first);
    ASSERT_TRUE(SpinUntil([&] {
        return std::find(sink.completed.begin(), sink.completed.end(), second) != sink.completed.end();
    })) << "the second page never completed";
    EXPECT_TRUE(heldWhileModal);
    EXPECT_EQ(sink.deepest, 1);
    browser->unsubscribe(sink);
}

// Nobody calls the session between logins: the loop itself prepares the next window.
TEST_F(QtChromiumPumpTest, TheLoopPreparesTheNextWindowOnceTheBrowserIsQuiet)
{
    auto browser = session->createBrowser();
    ASSERT_TRUE(browser);
    EXPECT_FALSE(session->windowPrepared());
    browser->Navigate("data:text/html,<title>one</title>");
    EXPECT_TRUE(SpinUntil([&] { return session->windowPrepared(); })) << "the next window was never prepared";
    auto next = session->createBrowser();
    ASSERT_TRUE(next);
    EXPECT_NE(next->hwnd(), browser->hwnd());
}

} // namespace
} // namespace kv::test
