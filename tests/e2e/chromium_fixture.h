#pragma once
// One headless Chromium of our own shared by the tests of a suite, and recorders for the
// events it raises. Tests skip when the browser is not installed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "browser/automation.h"
#include "browser/chromium/chromium_session.h"
#include "common/temp_dir.h"

namespace kv::test {

inline constexpr const char* kChromiumPath = "/usr/lib/chromium/chromium";

inline bool ChromiumAvailable()
{
    return access(kChromiumPath, X_OK) == 0;
}

// A headless browser of the test's own: its profile in profile, its runtime files in runtime,
// which is made private as the session's own would be.
inline ChromiumOptions HeadlessChromium(const TempDir& profile, const TempDir& runtime)
{
    chmod(runtime.path().c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    ChromiumOptions options;
    options.executable = kChromiumPath;
    options.userDataDir = profile.path();
    options.headless = true;
    // Generous: a loaded CI machine can take seconds to open a window; a real hang still fails.
    options.callTimeout = std::chrono::seconds(30);
    return options;
}

inline bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Everything one window reported, in order.
class EventRecorder : public BrowserEvents {
public:
    void DocumentComplete(const DocumentCompleteEvent& event) override { completes.push_back(event); }
    void BeforeNavigate2(const BeforeNavigateEvent& event) override
    {
        navigations.push_back(event);
        order.push_back("BeforeNavigate2");
    }
    void DownloadBegin(const DownloadBeginEvent& event) override
    {
        downloads.push_back(event);
        order.push_back("DownloadBegin");
    }
    void PasswordFieldAppeared(const PasswordFieldEvent& event) override { passwordFields.push_back(event); }
    void ScriptRequestSent(const ScriptRequestEvent& event) override { scriptRequests.push_back(event); }

    // The window's own document completed with an address ending in suffix.
    const DocumentCompleteEvent* completed(const std::string& suffix) const
    {
        for (auto it = completes.rbegin(); it != completes.rend(); ++it)
            if (it->pDisp.topLevel && EndsWith(it->url, suffix))
                return &*it;
        return nullptr;
    }

    // A frame's document completed with an address ending in suffix, readable.
    const DocumentCompleteEvent* frameCompleted(const std::string& suffix) const
    {
        for (auto it = completes.rbegin(); it != completes.rend(); ++it)
            if (!it->pDisp.topLevel && EndsWith(it->url, suffix) && it->pDisp.document)
                return &*it;
        return nullptr;
    }

    // The last navigation to an address ending in suffix.
    const BeforeNavigateEvent* navigatedTo(const std::string& suffix) const
    {
        for (auto it = navigations.rbegin(); it != navigations.rend(); ++it)
            if (EndsWith(it->url, suffix))
                return &*it;
        return nullptr;
    }

    std::vector<DocumentCompleteEvent> completes;
    std::vector<BeforeNavigateEvent> navigations;
    std::vector<DownloadBeginEvent> downloads;
    std::vector<PasswordFieldEvent> passwordFields;
    std::vector<ScriptRequestEvent> scriptRequests;
    std::vector<std::string> order; // of DownloadBegin and BeforeNavigate2
};

class WindowListRecorder : public WindowListEvents {
public:
    void WindowRegistered() override { ++registered; }
    void WindowRevoked() override { ++revoked; }
    int registered = 0;
    int revoked = 0;
};

// A browser of the test's own, apart from any suite's, for tests that look at the whole
// browser; it ends with the test, before the test's other members go.
class OwnChromiumTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ChromiumAvailable())
            GTEST_SKIP() << "Chromium is not installed at " << kChromiumPath;
        session = ChromiumSession::create(HeadlessChromium(profile, runtime));
    }
    void TearDown() override { session.reset(); }

    TempDir profile;
    TempDir runtime;
    std::shared_ptr<ChromiumSession> session;
};

class ChromiumSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!ChromiumAvailable())
            return;
        dirs_ = new Dirs;
        session_ = ChromiumSession::create(HeadlessChromium(dirs_->profile, dirs_->runtime));
    }
    static void TearDownTestSuite()
    {
        session_.reset();
        delete dirs_;
        dirs_ = nullptr;
    }
    void SetUp() override
    {
        if (!ChromiumAvailable())
            GTEST_SKIP() << "Chromium is not installed at " << kChromiumPath;
        ASSERT_TRUE(session_->start()) << "Chromium did not start";
    }

    static ChromiumSession& session() { return *session_; }

    // Runs the browser until done() holds; false (and a failure) when it does not in time.
    static bool waitFor(const std::function<bool()>& done, const std::string& what,
                        std::chrono::milliseconds limit = std::chrono::seconds(20))
    {
        const bool ok = session_->runUntil(done, limit);
        EXPECT_TRUE(ok) << "timed out waiting for " << what;
        return ok;
    }

    // A recorder living as long as the test, for helpers whose windows keep reporting events
    // after they returned.
    EventRecorder& testRecorder() { return *recorders_.emplace_back(std::make_unique<EventRecorder>()); }

    // A new window whose events go to the recorder; closed at the end of the test.
    std::shared_ptr<Browser> openWindow(EventRecorder& recorder)
    {
        auto browser = session_->createBrowser();
        if (browser) {
            browser->setVisible(true); // as the program shows every window it opens
            browser->subscribe(recorder);
            opened_.push_back({browser, &recorder});
        }
        return browser;
    }
    // Opens a window and loads url in it; nullptr (and a failure) when it did not complete.
    std::shared_ptr<Browser> openPage(EventRecorder& recorder, const std::string& url,
                                      const std::string& path)
    {
        auto browser = openWindow(recorder);
        if (!browser) {
            ADD_FAILURE() << "no window";
            return nullptr;
        }
        browser->Navigate(url);
        if (!waitFor([&] { return recorder.completed(path) != nullptr; }, "the page " + path))
            return nullptr;
        return browser;
    }

    void TearDown() override
    {
        for (auto& [browser, recorder] : opened_) {
            browser->unsubscribe(*recorder);
            if (session_ && session_->running())
                session_->closeWindow(browser->hwnd());
        }
        opened_.clear();
    }

private:
    struct Dirs {
        TempDir profile;
        TempDir runtime;
    };
    static inline Dirs* dirs_ = nullptr;
    static inline std::shared_ptr<ChromiumSession> session_;
    std::vector<std::pair<std::shared_ptr<Browser>, EventRecorder*>> opened_;
    std::vector<std::unique_ptr<EventRecorder>> recorders_;
};

} // namespace kv::test
