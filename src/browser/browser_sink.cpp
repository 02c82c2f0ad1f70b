#include "browser/browser_sink.h"

#include "browser/blocked_sites.h"
#include "browser/capture_texts.h"
#include "browser/fill_and_submit.h"
#include "browser/post_content_type.h"
#include "browser/request_body.h"
#include "browser/save_site_dialog.h"
#include "browser/url_origin.h"
#include "browser/url_resolve.h"
#include "sites/site_tree_texts.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "storage/sites_tree.h"
#include "storage/temp_files.h"
#include "support/parse_url.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <system_error>
#include <utility>
#include <vector>

namespace kv {
namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool isOtherProtocol(std::string_view url)
{
    constexpr std::array<std::string_view, 3> prefixes = {"ftp", "outlook", "res"};
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](std::string_view prefix) { return startsWithIgnoringCase(url, prefix); });
}

// Local files and non-web addresses are never login pages.
bool isExcluded(std::string_view locationUrl, std::string_view url)
{
    return startsWithIgnoringCase(locationUrl, "file://") || isOtherProtocol(url);
}

// A form sent by GET carries what the user typed in its query; that must reach neither the
// log nor the blocked list in the profile, so both see the address without it.
std::string addressWithoutTypedValues(const BeforeNavigateEvent& event)
{
    if (event.method != "GET")
        return event.url;
    return event.url.substr(0, event.url.find('?'));
}

// The page a window starts with before it is sent anywhere.
bool isBlankPage(std::string_view locationUrl)
{
    return locationUrl.empty() || startsWithIgnoringCase(locationUrl, "about:");
}

// The document itself or one of the frames shown in it.
bool holdsDocument(const DocumentSnapshot& page, std::string_view documentId)
{
    if (documentId.empty())
        return false;
    if (page.documentId == documentId)
        return true;
    return std::any_of(page.frames.begin(), page.frames.end(), [&](const FrameSnapshot& frame) {
        return frame.accessible && holdsDocument(frame.document, documentId);
    });
}

// A saved password goes only to pages of the saved site's own origin: a redirect to another
// site must not receive it.
bool belongsToSite(const DocumentSnapshot& document, const std::filesystem::path& siteFile)
{
    const auto siteUrl = ReadSecureValue(kMainSection, SITEURL, siteFile);
    return siteUrl && SameOrigin(document.url, *siteUrl);
}

std::string siteFileName(const std::string& friendlyName)
{
    return friendlyName + std::string(kSiteFileExtension);
}

} // namespace

IE_Class::IE_Class(CaptureContext& context) : context_(context) {}

IE_Class::~IE_Class()
{
    IEctl(nullptr);
}

void IE_Class::IEctl(std::shared_ptr<Browser> browser)
{
    if (IE_)
        IE_->unsubscribe(*this);
    IE_ = std::move(browser);
    if (IE_)
        IE_->subscribe(*this);
}

bool IE_Class::ON_BLACKLIST(std::string_view url) const
{
    return BlockedSites(context_.profileFile).contains(url);
}

bool IE_Class::IS_SITE_KNOWN(std::string_view locationUrl) const
{
    std::vector<std::filesystem::path> sites;
    std::int32_t files = 0;
    std::int32_t folders = 0;
    CollectSiteFiles(context_.sitesRoot, kSitePattern, sites, files, folders);
    return std::any_of(sites.begin(), sites.end(), [&](const std::filesystem::path& site) {
        const auto siteUrl = ReadSecureValue(kMainSection, SITEURL, site);
        return siteUrl && *siteUrl == locationUrl;
    });
}

void IE_Class::DocumentComplete(const DocumentCompleteEvent& event)
{
    const auto keepAlive = weak_from_this().lock();
    const EventFrame& pDisp = event.pDisp;
    if (isExcluded(pDisp.LocationURL, event.url) || pDisp.LocationURL.empty())
        return;
    context_.host.secureBrowsingPass();
    if (!IE_ || !pDisp.document)
        return;

    performPendingLogin(pDisp);
}

void IE_Class::PasswordFieldAppeared(const PasswordFieldEvent& event)
{
    const auto keepAlive = weak_from_this().lock();
    if (IE_ && event.pDisp.document && CHECKFORPASSWORDFIELD(*event.pDisp.document))
        performPendingLogin(event.pDisp);
}

void IE_Class::performPendingLogin(const EventFrame& pDisp)
{
    Class1* pending = context_.pendingLogins.find(IE_->hwnd());
    if (!pending || !belongsToSite(*pDisp.document, pending->Path))
        return;
    const std::filesystem::path siteFile = pending->Path;
    const bool nameAlreadySent = pending->identifierSent;
    switch (FillLoginForm(*IE_, *pDisp.document, siteFile, !nameAlreadySent)) {
    case FillResult::Filled:
        // One fill and submit per login: a later password form is not this login's.
        context_.pendingLogins.remove(IE_->hwnd());
        context_.log.add(siteFile.string());
        IncrementSuccessCount(siteFile);
        return;
    case FillResult::IdentifierSent:
        pending->identifierSent = true;
        break;
    case FillResult::Nothing:
        break;
    }
    // The password field comes later: built by script, or shown once the login name was given.
    IE_->watchForPasswordField(pDisp.frameId, kPasswordFieldWatchLimit);
}

void IE_Class::BeforeNavigate2(const BeforeNavigateEvent& event)
{
    const auto keepAlive = weak_from_this().lock();
    // What the user typed belongs to the document being left: no later page may use it.
    const std::optional<TypedLogin> typed = std::exchange(captured_, std::nullopt);
    const EventFrame& pDisp = event.pDisp;
    // A login name sent on the window's previous page belongs to the page after it only.
    std::optional<NameStep> nameStep;
    const std::string scriptLogin = scriptLoginDocument_;
    if (pDisp.topLevel) {
        nameStep = std::exchange(nameStep_, std::nullopt);
        scriptLoginDocument_.clear();
    }
    // A pending login is for the page its window was opened on: leaving that page ends it,
    // except once after the login name was sent on a page that asks for the password next.
    bool pendingEnded = false;
    if (IE_ && pDisp.topLevel && !isBlankPage(pDisp.LocationURL)) {
        Class1* pending = context_.pendingLogins.find(IE_->hwnd());
        if (pending && pending->identifierSent && !pending->leftNamePage)
            pending->leftNamePage = true;
        else
            pendingEnded = context_.pendingLogins.remove(IE_->hwnd());
    }
    if (isExcluded(pDisp.LocationURL, event.url) || pDisp.readyState == ReadyState::Loading)
        return;

    const LoginCandidate page =
        pDisp.document ? ScanPage(*pDisp.document, FormFacts::Record) : LoginCandidate{};
    const std::string address = addressWithoutTypedValues(event);
    // The engine's own submission of a pending login, or one a page's script forged.
    const bool byUser = event.byUser && !pendingEnded;
    if (!page.passwordFound) {
        // A page asking for the login name alone: the password page comes next.
        if (byUser && pDisp.topLevel && pDisp.document)
            nameStep_ = NameStepOf(*pDisp.document);
        return;
    }
    const bool sentByScript = !scriptLogin.empty() && pDisp.document->documentId == scriptLogin;
    if (ON_BLACKLIST(address) || !byUser || sentByScript)
        return;
    // A frame of another site inside this page is that site's, not this page's.
    if (!pDisp.topLevel && !sameOriginAsWindow(pDisp.LocationURL))
        return;
    // Only the submission of the login form itself is worth saving.
    if (event.url.find(page.formAction) == std::string::npos)
        return;
    const bool typedHere =
        typed && pDisp.document && holdsDocument(typed->document, pDisp.document->documentId);
    LoginCandidate login = page;
    LoginCandidate typedLogin = typedHere ? typed->values : LoginCandidate{};
    // Read before any question: the window moves on while the user answers.
    SitePage site{windowAddress(pDisp), windowTitle(pDisp),
                  page.formAction.empty() ? address : page.formAction, event.PostData, ""};
    if (nameStep && pDisp.topLevel && SameOrigin(nameStep->url, pDisp.LocationURL) &&
        (page.loginValue.empty() || page.loginValue == nameStep->value)) {
        // The password page of a name asked first: the site starts on the name page, whose
        // name field is the login field; the post goes where this page sent it.
        site.url = nameStep->url;
        site.title = nameStep->title;
        site.action = ResolveAgainst(pDisp.LocationURL, site.action);
        for (LoginCandidate* facts : {&login, &typedLogin}) {
            facts->loginName = nameStep->fieldName;
            facts->loginValue = nameStep->value;
        }
    }
    if (IS_SITE_KNOWN(site.url)) {
        context_.log.add(std::string(kSiteKnownLog) + address);
        return;
    }
    offerToSave(site, login, typedLogin, address);
}

void IE_Class::ScriptRequestSent(const ScriptRequestEvent& event)
{
    const auto keepAlive = weak_from_this().lock();
    const EventFrame& pDisp = event.pDisp;
    if (!IE_ || !pDisp.document || isExcluded(pDisp.LocationURL, event.url))
        return;
    // A frame of another site inside this page is that site's, not this page's; a request
    // to another site than the page's is no login of this page.
    if ((!pDisp.topLevel && !sameOriginAsWindow(pDisp.LocationURL)) ||
        !SameOrigin(event.url, pDisp.LocationURL))
        return;
    const LoginCandidate page = ScanPage(*pDisp.document, FormFacts::Record);
    const bool typedHere = captured_ && holdsDocument(captured_->document, pDisp.document->documentId);
    const LoginCandidate typed = typedHere ? captured_->values : LoginCandidate{};
    // The login is the request carrying the password, not what the page sends along with it.
    const std::string& password = typed.passwordValue.empty() ? page.passwordValue : typed.passwordValue;
    if (!page.passwordFound || !BodyCarries(event.PostData, password) || ON_BLACKLIST(event.url))
        return;
    // Saved as a script sends it, or not at all: a type that could not be sent again would
    // turn the login into another request.
    if (!event.contentType.empty() && !IsSafeContentType(event.contentType))
        return;
    // The page usually moves on after its login: that is the same login, not offered again.
    scriptLoginDocument_ = pDisp.document->documentId;
    captured_.reset();
    const SitePage site{windowAddress(pDisp), windowTitle(pDisp), event.url, event.PostData,
                        event.contentType};
    if (IS_SITE_KNOWN(site.url)) {
        context_.log.add(std::string(kSiteKnownLog) + event.url);
        return;
    }
    offerToSave(site, page, typed, event.url);
}

void IE_Class::offerToSave(const SitePage& site, const LoginCandidate& page, const LoginCandidate& typed,
                           const std::string& address)
{
    const std::string& pageUrl = site.url;
    const std::string& title = site.title;

    Dialogs& dialogs = context_.dialogs;
    context_.host.activate();
    if (dialogs.ask(kSaveSiteQuestion, Buttons::YesNo, Icon::Question) != Dialogs::Answer::Yes) {
        if (dialogs.ask(kBlockSiteQuestion, Buttons::YesNo, Icon::Exclamation) == Dialogs::Answer::Yes)
            BlockedSites(context_.profileFile).add(address);
        return;
    }
    SaveSiteDialog frmYes(pageUrl, context_.sitesRoot, dialogs, context_.trash);
    dialogs.showSaveSite(frmYes);
    if (frmYes.FolderPath().empty())
        return;
    context_.log.add(std::string(kSavingSiteLog) + address);

    // The site is written to a hidden file beside its final place and moved there whole, so
    // a replaced site keeps nothing of the old one and no half-written site is ever listed.
    const std::filesystem::path siteFile = frmYes.FolderPath() / siteFileName(frmYes.FriendlyName());
    const std::filesystem::path partFile = frmYes.FolderPath() / kPartialSiteFileName;
    std::error_code ignored;
    std::filesystem::remove(partFile, ignored);

    std::error_code failure;
    const auto write = [&](std::string_view key, std::string_view value) {
        if (const std::error_code written = WriteSecureValue(kMainSection, key, value, partFile); !failure)
            failure = written;
    };
    write(SITEFRIENDLYNAME, frmYes.FriendlyName());
    write(SITETITLE, title);
    write(SITEURL, pageUrl);
    write(SITEDOMAIN, ParseUrl(pageUrl, "domain"));
    write(VELOTRIP, kVelotripOff);
    write(SITEPOSTDATA, site.postData);
    if (!site.postType.empty())
        write(SITEPOSTTYPE, site.postType);
    write(FORMNAME, page.formName);
    write(FORMACTIONURL, site.action);
    write(FORMMETHOD, page.formMethod);
    writeLoginAndPassword(page, typed, write);
    write(AUTOLOGSTATUS, kAutoLogStatusYes);

    if (!failure)
        std::filesystem::rename(partFile, siteFile, failure);
    if (failure) {
        std::filesystem::remove(partFile, ignored);
        dialogs.message(SiteNotWrittenMessage(siteFile, failure));
    }
    context_.host.reloadSitesTree();
}

void IE_Class::writeLoginAndPassword(const LoginCandidate& page, const LoginCandidate& typed,
                                     const std::function<void(std::string_view, std::string_view)>& write)
{
    const auto writeAll = [&](std::string_view passName, std::string_view passValue,
                              std::string_view loginName, std::string_view loginValue) {
        write(FORMPASSNAME, passName);
        write(FORMPASSVALUE, passValue);
        write(FORMLOGINNAME, loginName);
        write(FORMLOGINVALUE, loginValue);
    };
    if (!page.loginValue.empty() && !page.passwordValue.empty()) {
        writeAll(page.passwordName, page.passwordValue, page.loginName, page.loginValue);
        return;
    }
    // The page's scripts moved the typed values into hidden fields: use what was typed.
    if (!typed.passwordValue.empty() && !typed.loginValue.empty()) {
        writeAll(typed.passwordName, typed.passwordValue, typed.loginName, typed.loginValue);
        return;
    }
    Dialogs& dialogs = context_.dialogs;
    dialogs.message(kHiddenFieldsMessage);
    const std::string login = dialogs.input(kInputLoginPrompt).value_or("");
    const std::string password = dialogs.input(kInputPasswordPrompt).value_or("");
    writeAll(page.passwordName, password, page.loginName, login);
}

void IE_Class::DownloadBegin(const DownloadBeginEvent& event)
{
    const auto keepAlive = weak_from_this().lock();
    if (!event.typed)
        return;
    const std::string& locationUrl = event.typed->url;
    if (startsWithIgnoringCase(locationUrl, "file://") || isOtherProtocol(locationUrl))
        return;
    // Typed into a frame of another site: not this window's login.
    if (!sameOriginAsWindow(locationUrl))
        return;
    const LoginCandidate page = ScanPage(*event.typed, FormFacts::Skip);
    if (page.passwordFound)
        captured_ = TypedLogin{page, *event.typed};
}

bool IE_Class::sameOriginAsWindow(std::string_view address) const
{
    return IE_ && SameOrigin(address, IE_->LocationURL());
}

std::string IE_Class::windowAddress(const EventFrame& pDisp) const
{
    if (pDisp.topLevel || !IE_)
        return pDisp.LocationURL;
    return IE_->LocationURL();
}

std::string IE_Class::windowTitle(const EventFrame& pDisp) const
{
    if ((pDisp.topLevel || !IE_) && pDisp.document)
        return pDisp.document->title;
    if (!IE_)
        return {};
    // The window's own document knows its title for sure; the window's name may lag behind it.
    if (const auto window = IE_->Document())
        return window->title;
    return IE_->LocationName();
}

} // namespace kv
