#pragma once
// The program's browser rules (window tracker, sinks, login engine) on the real headless
// Chromium of the suite, with a profile of their own and scripted answers for the user.
#include "browser/browser_test_support.h"
#include "browser/capture_surroundings.h"
#include "browser/login_engine.h"
#include "browser/window_tracker.h"
#include "common/scripted_dialogs.h"
#include "e2e/chromium_fixture.h"
#include "e2e/local_server.h"
#include "e2e/user_input.h"
#include "storage/sites_tree.h"

#include <memory>
#include <string>

namespace kv::test {

class NoDesktop : public DesktopShell {
public:
    void open(std::string_view target) override { ADD_FAILURE() << "unexpected desktop open of " << target; }
    void lockSession() override { ADD_FAILURE() << "unexpected session lock"; }
};

class BrowserLogicSuite : public ChromiumSuite, protected CaptureSurroundings {
protected:
    void SetUp() override
    {
        ChromiumSuite::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        tracker = std::make_unique<cIEWindows>(session(), context);
        engine = std::make_unique<LoginEngine>(session(), pending, dialogs, desktop, host, profile.file(),
                                               profile.root());
    }
    void TearDown() override
    {
        for (auto& [browser, recorder] : listened_) {
            browser->unsubscribe(*recorder);
            if (session().running())
                session().closeWindow(browser->hwnd());
        }
        listened_.clear();
        tracker.reset();
        ChromiumSuite::TearDown();
    }

    // The window the engine opened last (the newest of the list), with the recorder listening.
    std::shared_ptr<Browser> engineWindow(EventRecorder& recorder)
    {
        const auto windows = session().windows();
        if (windows.empty()) {
            ADD_FAILURE() << "the engine opened no window";
            return nullptr;
        }
        windows.back()->subscribe(recorder);
        listened_.push_back({windows.back(), &recorder});
        return windows.back();
    }

    LocalServer server;
    NoDesktop desktop;
    std::unique_ptr<LoginEngine> engine;
    std::unique_ptr<cIEWindows> tracker;

private:
    std::vector<std::pair<std::shared_ptr<Browser>, EventRecorder*>> listened_;
};

} // namespace kv::test
