#pragma once
// The program's browser side, wired to the main window: the Chromium session on the Qt loop,
// the window tracker with its capture sinks, the login engine and the Sites area's commands.
// Chromium itself starts only when a page is first opened.
#include "browser/browser_host.h"
#include "browser/browser_sink.h"
#include "browser/capture_log.h"
#include "browser/chromium/chromium_process.h"
#include "browser/chromium/chromium_session.h"
#include "browser/chromium/qt_chromium_pump.h"
#include "browser/chromium/toolbar_button_extension.h"
#include "browser/login_engine.h"
#include "browser/pending_logins.h"
#include "browser/site_commands.h"
#include "browser/window_tracker.h"
#include "cleanup/browser_cleanup.h"
#include "cleanup/chromium/chromium_profile_cache.h"
#include "cleanup/exit_cleanup.h"
#include "mainwindow/area_table.h"
#include "mainwindow/main_window_form.h"
#include "platform/browser_profile_directory.h"
#include "platform/desktop_shell.h"
#include "qt_task_timer.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QPointer>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv {

// What the browser rules ask of the main window, once the window exists.
class MainWindowBrowserHost : public BrowserHost {
public:
    explicit MainWindowBrowserHost(BrowserCleanup& cleanup) : cleanup_(cleanup) {}
    void attach(frmMain* window) { window_ = window; }

    // A locked window asks its login before it shows.
    void activate() override
    {
        if (window_)
            window_->showFromOutside();
    }
    void reloadSitesTree() override
    {
        if (window_ && window_->logic().selectedPosition() == 0)
            window_->reloadSitesTree();
    }
    void secureBrowsingPass() override
    {
        if (window_ && window_->fraSites()->chkNimbrase()->isChecked())
            cleanup_.SecureBrowsingPass();
    }
    void showHotkeysArea() override
    {
        if (window_)
            window_->selectBarPosition(kAreaHotkeys - 1);
    }

private:
    BrowserCleanup& cleanup_;
    frmMain* window_ = nullptr;
};

class BrowserSession {
public:
    // toolbarButton: whether the browser's toolbar button is switched on, asked at each start of
    // the browser; dataDirectory holds the button's extension.
    BrowserSession(const std::filesystem::path& browser, const std::filesystem::path& profileFile,
                   const std::filesystem::path& profileDirectory, const std::filesystem::path& dataDirectory,
                   Dialogs& dialogs, DesktopShell& shell, Trash& trash, std::function<bool()> toolbarButton)
        : toolbarButton_(std::move(toolbarButton)),
          extension_(dataDirectory / "extensions" / "toolbar-button",
                     BrowserProfileDirectory().parent_path() / "toolbar-button"),
          session_(ChromiumSession::create(Options(browser))), pump_(session_),
          cache_(session_, ChromiumProfile(BrowserProfileDirectory()),
                 dataDirectory / "extensions" / "cleanup", timer_),
          cleanup_(cache_), host_(cleanup_), capture_{pendingLogins_, dialogs,          host_, log_,
                                                      profileFile,    profileDirectory, trash},
          engine_(*session_, pendingLogins_, dialogs, shell, host_, profileFile, profileDirectory),
          commands_(engine_, dialogs)
    {
        session_->reserveAddress(extension_.frontAddress(), [this] { host_.activate(); });
    }

    UrlLauncher& launcher() { return engine_; }
    LoginEngine& engine() { return engine_; }
    SiteCommands& siteCommands() { return commands_; }
    WindowList& windows() { return *session_; }
    CaptureLog& captureLog() { return log_; }
    MainWindowBrowserHost& host() { return host_; }
    void loginHotkeySites(int hotkeyNumber) { engine_.LoginHotkeySites(hotkeyNumber); }
    // What the cleanup boxes of the Options area count and delete.
    BrowserCleanup& cleanup() { return cleanup_; }
    UrlCache& cache() { return cache_; }
    // The tracker follows the browser's windows from the moment it exists.
    void createTracker() { tracker_ = std::make_unique<cIEWindows>(*session_, capture_); }

    // The cleanup before the exit question; the browser's answers keep coming while it waits.
    void runExitCleanup(const std::filesystem::path& profileFile, Dialogs& dialogs)
    {
        auto finished = std::make_shared<bool>(false);
        QEventLoop loop;
        RunExitCleanup(cleanup_, profileFile, dialogs, [finished, waiting = QPointer<QEventLoop>(&loop)] {
            *finished = true;
            if (waiting)
                waiting->quit();
        });
        if (*finished)
            return;
        // A browser that stops answering must not keep the program from closing.
        QTimer::singleShot(kExitCleanupLimit, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }

private:
    static constexpr std::chrono::seconds kExitCleanupLimit{20};

    ChromiumOptions Options(const std::filesystem::path& browser)
    {
        ChromiumOptions options;
        if (!browser.empty())
            options.executable = browser;
        options.userDataDir = BrowserProfileDirectory();
        // The button shows from the browser's next start on, as its caption says.
        options.argumentsAtStart = [this]() -> std::vector<std::string> {
            if (!toolbarButton_ || !toolbarButton_())
                return {};
            const auto folder = extension_.prepare();
            return folder ? std::vector<std::string>{"--load-extension=" + folder->string()}
                          : std::vector<std::string>{};
        };
        return options;
    }

    std::function<bool()> toolbarButton_;
    ToolbarButtonExtension extension_;
    std::shared_ptr<ChromiumSession> session_;
    QtChromiumPump pump_;
    QtTaskTimer timer_;
    ChromiumProfileCache cache_;
    BrowserCleanup cleanup_;
    PendingLogins pendingLogins_;
    CaptureLog log_;
    MainWindowBrowserHost host_;
    CaptureContext capture_;
    LoginEngine engine_;
    SiteCommands commands_;
    std::unique_ptr<cIEWindows> tracker_;
};

} // namespace kv
