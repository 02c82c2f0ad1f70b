#pragma once
// The sink of one browser window: recognises login forms in what the window shows, saves
// the sites the user logs into, and performs the logins the engine opened this window for.
#include "browser/automation.h"
#include "browser/browser_host.h"
#include "browser/capture_log.h"
#include "browser/name_step.h"
#include "browser/page_scan.h"
#include "browser/pending_logins.h"
#include "platform/trash.h"
#include "support/dialogs.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// What every sink works with; owned by the main window, outliving all sinks.
struct CaptureContext {
    PendingLogins& pendingLogins;
    Dialogs& dialogs;
    BrowserHost& host;
    CaptureLog& log;
    std::filesystem::path profileFile; // holds the blocked sites list
    std::filesystem::path sitesRoot;   // the profile directory, root of the sites tree
    Trash& trash;                      // where folders deleted in the save dialog go
};

// How long a login page opened by the engine is watched for a password field that its
// scripts add after the load.
inline constexpr std::chrono::milliseconds kPasswordFieldWatchLimit{10000};

class IE_Class : public BrowserEvents, public std::enable_shared_from_this<IE_Class> {
public:
    explicit IE_Class(CaptureContext& context);
    ~IE_Class() override;
    IE_Class(const IE_Class&) = delete;
    IE_Class& operator=(const IE_Class&) = delete;

    // Connects this sink to the window's events; nullptr disconnects it.
    void IEctl(std::shared_ptr<Browser> browser);
    const std::shared_ptr<Browser>& IE() const { return IE_; }

    bool ON_BLACKLIST(std::string_view url) const;
    // A saved site's SITEURL is exactly this address.
    bool IS_SITE_KNOWN(std::string_view locationUrl) const;

    void DocumentComplete(const DocumentCompleteEvent& event) override;
    void BeforeNavigate2(const BeforeNavigateEvent& event) override;
    void DownloadBegin(const DownloadBeginEvent& event) override;
    void PasswordFieldAppeared(const PasswordFieldEvent& event) override;
    void ScriptRequestSent(const ScriptRequestEvent& event) override;

    // What the user had typed when they last submitted a login form in this window, and the
    // document they typed it into. Kept only until the window's next navigation.
    struct TypedLogin {
        LoginCandidate values; // only the four field facts
        DocumentSnapshot document;
    };
    const std::optional<TypedLogin>& captured() const { return captured_; }

private:
    // Where a site being saved starts and where its form posts.
    struct SitePage {
        std::string url;
        std::string title;
        // The form's action as the page wrote it; when it names none (fields outside any form,
        // a page sending a form of its own making), the address the login went to.
        std::string action;
        std::string postData;
        std::string postType; // the content type of a login a page's script sent
    };

    void performPendingLogin(const EventFrame& pDisp);
    void offerToSave(const SitePage& site, const LoginCandidate& page, const LoginCandidate& typed,
                     const std::string& address);
    // write(key, value) stores one value of the site being saved.
    void writeLoginAndPassword(const LoginCandidate& page, const LoginCandidate& typed,
                               const std::function<void(std::string_view, std::string_view)>& write);
    bool sameOriginAsWindow(std::string_view address) const;
    std::string windowAddress(const EventFrame& pDisp) const;
    std::string windowTitle(const EventFrame& pDisp) const;

    CaptureContext& context_;
    std::shared_ptr<Browser> IE_;
    std::optional<TypedLogin> captured_;
    // The login name the user sent on the window's current page, which asked for it alone.
    std::optional<NameStep> nameStep_;
    // The document whose login a page's script sent: the navigation after it is not offered.
    std::string scriptLoginDocument_;
};

} // namespace kv
