#include "cli/own_browser_login.h"

#include "browser/browser_host.h"
#include "browser/browser_sink.h"
#include "browser/capture_log.h"
#include "browser/chromium/chromium_session.h"
#include "browser/login_engine.h"
#include "browser/pending_logins.h"
#include "browser/site_commands.h"
#include "browser/window_tracker.h"
#include "cli/command.h"
#include "platform/browser_profile_directory.h"
#include "platform/freedesktop_trash.h"
#include "platform/supported_browser.h"
#include "platform/xdg_desktop_shell.h"
#include "sites/site_lookup.h"
#include "storage/sites_tree_model.h"

#include <csignal>

namespace kv::cli {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int)
{
    stopRequested = 1;
}

// There is no window to bring forward or tree to reload.
class NoWindowHost : public BrowserHost {
public:
    void activate() override {}
    void reloadSitesTree() override {}
    void secureBrowsingPass() override {}
    void showHotkeysArea() override {}
};

void StartLogins(const InstanceRequest& request, const std::filesystem::path& profileDirectory,
                 LoginEngine& engine, Dialogs& dialogs)
{
    switch (request.kind) {
    case InstanceRequest::Kind::LoginSites:
        for (const std::string& name : request.sites)
            if (const auto site = LookUpSite(profileDirectory, name))
                engine.LoginToSite(site->file);
        break;
    case InstanceRequest::Kind::LoginFolder:
        if (const auto folder = LookUpFolder(profileDirectory, request.folder)) {
            SitesTreeNode node;
            node.key = folder->string() + "/";
            SiteCommands(engine, dialogs).mnuLoginAllSites(&node);
        }
        break;
    case InstanceRequest::Kind::LoginHotkey:
        engine.LoginHotkeySites(request.hotkey);
        break;
    case InstanceRequest::Kind::Show:
        break;
    }
}

} // namespace

int LoginInOwnBrowser(const InstanceRequest& request, const std::filesystem::path& profileDirectory,
                      const std::filesystem::path& profileFile, TerminalDialogs& dialogs)
{
    const std::filesystem::path browser = FindSupportedBrowser();
    if (browser.empty())
        return Fail("no Chromium is installed to log in with");
    ChromiumOptions options;
    options.executable = browser;
    options.userDataDir = BrowserProfileDirectory();
    if (options.userDataDir.empty())
        return Fail("no private folder for the browser's profile: set HOME or XDG_DATA_HOME");
    const auto session = ChromiumSession::create(options);
    PendingLogins pendingLogins;
    CaptureLog log;
    NoWindowHost host;
    dialogs.answerQuestions(TerminalDialogs::Questions::No);
    // Nothing is saved here, so the save dialog never deletes a folder; the program's trash all the same.
    FreedesktopTrash trash(FreedesktopTrash::DefaultHomeTrash());
    CaptureContext capture{pendingLogins, dialogs, host, log, profileFile, profileDirectory, trash};
    XdgDesktopShell shell;
    LoginEngine engine(*session, pendingLogins, dialogs, shell, host, profileFile, profileDirectory);
    cIEWindows tracker(*session, capture);

    stopRequested = 0;
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    StartLogins(request, profileDirectory, engine, dialogs);
    if (!session->running())
        return Fail("nothing was logged into");
    PrintError("logging in; the browser stays until its windows are closed (Ctrl+C ends it)");
    const auto finished = [&session] {
        return stopRequested || !session->running() || session->windows().empty();
    };
    while (!session->runUntil(finished, std::chrono::hours(1))) {
    }
    session->shutdown();
    return kSucceeded;
}

} // namespace kv::cli
