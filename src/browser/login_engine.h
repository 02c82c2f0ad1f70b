#pragma once
// Logs into saved sites, each in a new browser window of its own: either the window opens
// the login page and its sink fills and submits the form once it shows (fill-and-submit),
// or the window posts the saved form body straight to the form's action (Velotrip).
#include "browser/automation.h"
#include "browser/browser_host.h"
#include "browser/pending_logins.h"
#include "browser/url_launcher.h"
#include "platform/desktop_shell.h"
#include "support/dialogs.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class LoginEngine : public UrlLauncher {
public:
    LoginEngine(WindowList& windows, PendingLogins& pendingLogins, Dialogs& dialogs, DesktopShell& shell,
                BrowserHost& host, std::filesystem::path profileFile, std::filesystem::path sitesRoot);

    // A site without SITEURL, or whose file cannot be read, is skipped silently; a browser
    // that cannot be started is reported as LaunchBrowser reports it.
    void LoginToSite(const std::filesystem::path& siteFile);
    // Several sites, each in its own window, all started without waiting for any page.
    void LoginToSites(const std::vector<std::filesystem::path>& siteFiles);

    // Every site of hotkey n, one window each, without waiting for any of them.
    void LoginHotkeySites(int hotkeyNumber);

    // Opens the address in a new window of the program's browser; an address the browser
    // cannot open goes to the desktop's associated program.
    void LaunchBrowser(std::string_view address) override;

    void OpenWithShell(const std::filesystem::path& path);

private:
    // A new window, or nullptr after telling the user that no browser could be started.
    std::shared_ptr<Browser> openWindow();
    void reportNoBrowser();
    void loginInWindow(const std::filesystem::path& siteFile, const std::string& siteUrl,
                       const std::shared_ptr<Browser>& browser);

    WindowList& windows_;
    PendingLogins& pendingLogins_;
    Dialogs& dialogs_;
    DesktopShell& shell_;
    BrowserHost& host_;
    std::filesystem::path profileFile_;
    std::filesystem::path sitesRoot_;
};

} // namespace kv
