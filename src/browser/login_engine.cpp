#include "browser/login_engine.h"

#include "browser/login_texts.h"
#include "browser/numeric_value.h"
#include "browser/post_content_type.h"
#include "browser/url_resolve.h"
#include "startup/profile_settings.h"
#include "storage/ini_values.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "storage/sites_tree.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace kv {
namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

LoginEngine::LoginEngine(WindowList& windows, PendingLogins& pendingLogins, Dialogs& dialogs,
                         DesktopShell& shell, BrowserHost& host, std::filesystem::path profileFile,
                         std::filesystem::path sitesRoot)
    : windows_(windows), pendingLogins_(pendingLogins), dialogs_(dialogs), shell_(shell), host_(host),
      profileFile_(std::move(profileFile)), sitesRoot_(std::move(sitesRoot))
{
}

void LoginEngine::LoginToSite(const std::filesystem::path& siteFile)
{
    LoginToSites({siteFile});
}

void LoginEngine::LoginToSites(const std::vector<std::filesystem::path>& siteFiles)
{
    std::vector<std::pair<std::filesystem::path, std::string>> logins; // site file, its address
    for (const auto& siteFile : siteFiles) {
        const auto siteUrl = ReadSecureValue(kMainSection, SITEURL, siteFile);
        if (siteUrl && !trimmed(*siteUrl).empty())
            logins.emplace_back(siteFile, *siteUrl);
    }
    if (logins.empty())
        return;
    // Asked for together, the windows open side by side instead of one after another.
    const auto browsers = windows_.createBrowsers(logins.size());
    if (std::none_of(browsers.begin(), browsers.end(),
                     [](const auto& browser) { return browser != nullptr; })) {
        reportNoBrowser();
        return;
    }
    for (std::size_t i = 0; i < logins.size() && i < browsers.size(); ++i)
        if (browsers[i])
            loginInWindow(logins[i].first, logins[i].second, browsers[i]);
}

void LoginEngine::loginInWindow(const std::filesystem::path& siteFile, const std::string& siteUrl,
                                const std::shared_ptr<Browser>& browser)
{
    if (IsNumericOne(ReadIniValue(kOptionsSection, "MAXIE", profileFile_)))
        browser->setWindowState(WindowState::Maximized);
    if (IsNumericOne(ReadIniValue(kOptionsSection, "MINIE", profileFile_)))
        browser->setWindowState(WindowState::Minimized);

    const auto velotrip = ReadSecureValue(kMainSection, VELOTRIP, siteFile);
    if (velotrip && IsNumericOne(*velotrip)) {
        const auto actionUrl = ReadSecureValue(kMainSection, FORMACTIONURL, siteFile);
        const auto postData = ReadSecureValue(kMainSection, SITEPOSTDATA, siteFile);
        if (!actionUrl || !postData)
            return;
        // Pages write their action relative to themselves; the post goes where the page would send it.
        // A login a page's script sent goes with its own content type (JSON stays JSON).
        const std::string postType = ReadSecureValue(kMainSection, SITEPOSTTYPE, siteFile).value_or("");
        const bool sent =
            browser->Navigate(ResolveAgainst(siteUrl, *actionUrl), *postData, ContentTypeHeader(postType));
        browser->setVisible(true);
        // Counted when the post went out, not when the site accepts it.
        if (sent)
            IncrementSuccessCount(siteFile);
        return;
    }

    pendingLogins_.add({browser->hwnd(), siteFile, std::chrono::system_clock::now()});
    browser->Navigate(siteUrl);
    browser->setVisible(true);
}

void LoginEngine::LoginHotkeySites(int hotkeyNumber)
{
    const std::string section = HotkeySection(hotkeyNumber);
    if (LeadingNumber(ReadIniValue(section, HOTKEYLOCK, profileFile_)) == 1.0)
        shell_.lockSession();

    int count = 0;
    for (int i = 1; i <= kHotkeyEntryCount; ++i) {
        if (!trimmed(ReadIniValue(section, HotkeyEntryKey(i), profileFile_)).empty())
            ++count;
    }
    if (count == 0) {
        dialogs_.message(kEmptyHotkeyMessage);
        host_.showHotkeysArea();
        return;
    }
    // Entries are read up to the count of filled ones: a gap leaves the last entries out.
    std::vector<std::filesystem::path> siteFiles;
    for (int i = 1; i <= count; ++i) {
        const std::string fileName =
            ReadIniValue(section, HotkeyEntryKey(i), profileFile_) + std::string(kSiteFileExtension);
        std::filesystem::path siteFile;
        std::int32_t files = 0;
        std::int32_t folders = 0;
        FindSiteFile(sitesRoot_, fileName, files, folders, siteFile);
        if (!siteFile.empty())
            siteFiles.push_back(std::move(siteFile));
    }
    LoginToSites(siteFiles);
}

void LoginEngine::LaunchBrowser(std::string_view address)
{
    const auto browser = openWindow();
    if (!browser)
        return;
    if (!browser->Navigate(std::string(address))) {
        shell_.open(address);
        return;
    }
    browser->setVisible(true);
}

std::shared_ptr<Browser> LoginEngine::openWindow()
{
    auto browser = windows_.createBrowser();
    if (!browser)
        reportNoBrowser();
    return browser;
}

void LoginEngine::reportNoBrowser()
{
    dialogs_.message(kLaunchBrowserError, kLaunchBrowserErrorTitle, Icon::Critical);
}

void LoginEngine::OpenWithShell(const std::filesystem::path& path)
{
    shell_.open(path.string());
}

} // namespace kv
