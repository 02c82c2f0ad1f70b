#include "tools/security_audit.h"

#include "storage/site_file.h"
#include "storage/site_file_text.h"
#include "storage/sites_tree.h"
#include "tools/tools_texts.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace kv {

namespace {

std::vector<std::filesystem::path> AllSites(const std::filesystem::path& sitesDirectory)
{
    std::vector<std::filesystem::path> sites;
    std::int32_t files = 0, folders = 0;
    CollectSiteFiles(sitesDirectory, kSitePattern, sites, files, folders);
    return sites;
}

// The values one site shows in the audit; nothing where a value cannot be decrypted.
struct StoredSite {
    std::optional<std::string> name, login, password;
};

StoredSite ReadStoredSite(const std::filesystem::path& file)
{
    const auto text = SiteFileText::load(file);
    if (!text)
        return {};
    auto take = [&](std::string_view key) -> std::optional<std::string> {
        auto value = text->secure(kMainSection, key);
        return value ? std::optional<std::string>(std::move(*value)) : std::nullopt;
    };
    return {take(SITEFRIENDLYNAME), take(FORMLOGINVALUE), take(FORMPASSVALUE)};
}

std::string VerdictOf(const std::optional<std::string>& value)
{
    return std::string(value ? Verdict(RatePassword(*value)) : kDamagedMark);
}

} // namespace

std::vector<AuditRow> AuditSites(const std::filesystem::path& sitesDirectory)
{
    std::vector<AuditRow> rows;
    std::vector<std::optional<std::string>> passwords;
    std::unordered_map<std::string_view, int> uses;
    const auto sites = AllSites(sitesDirectory);
    rows.reserve(sites.size());
    passwords.reserve(sites.size());
    for (const auto& file : sites) {
        StoredSite site = ReadStoredSite(file);
        AuditRow row;
        row.file = file;
        row.damaged = !site.name || !site.login || !site.password;
        row.site = site.name && !row.damaged ? *site.name : SiteDisplayName(file.filename().string());
        row.login = VerdictOf(site.login);
        row.password = VerdictOf(site.password);
        rows.push_back(std::move(row));
        passwords.push_back(std::move(site.password));
    }
    for (const auto& password : passwords)
        if (password && !password->empty())
            ++uses[*password];
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].reused = passwords[i] && !passwords[i]->empty() && uses[*passwords[i]] > 1;
    return rows;
}

PasswordDetails CheckPassword(const std::filesystem::path& siteFile,
                              const std::filesystem::path& sitesDirectory)
{
    const StoredSite site = ReadStoredSite(siteFile);
    PasswordDetails details;
    details.damaged = !site.password;
    if (details.damaged)
        return details;
    details.strength = RatePassword(*site.password);
    if (site.password->empty())
        return details;
    std::error_code ignored;
    for (const auto& other : AllSites(sitesDirectory)) {
        if (std::filesystem::equivalent(other, siteFile, ignored))
            continue;
        const StoredSite candidate = ReadStoredSite(other);
        if (candidate.password == site.password)
            details.sharedWith.push_back(candidate.name ? *candidate.name
                                                        : SiteDisplayName(other.filename().string()));
    }
    return details;
}

} // namespace kv
