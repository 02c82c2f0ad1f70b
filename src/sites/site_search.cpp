#include "sites/site_search.h"

#include "storage/site_file.h"
#include "storage/site_file_text.h"
#include "support/ascii_text.h"
#include "support/wipe_secret.h"

namespace kv {
namespace {

std::string LowerValue(const SiteFileText& text, std::string_view key)
{
    auto value = text.secure(kMainSection, key);
    return value ? LowerCaseAscii(*value) : std::string();
}

bool Holds(std::string_view value, std::string_view lowerText)
{
    return value.find(lowerText) != std::string_view::npos;
}

} // namespace

const SiteSearchCache::Entry& SiteSearchCache::entry(const std::filesystem::path& file)
{
    std::error_code ec;
    const auto modified = std::filesystem::last_write_time(file, ec);
    const auto found = entries_.find(file.string());
    if (found != entries_.end() && found->second.modified == modified)
        return found->second;
    Entry fresh{modified, {}, {}, {}};
    if (auto text = SiteFileText::load(file)) {
        fresh.friendlyName = LowerValue(*text, SITEFRIENDLYNAME);
        fresh.url = LowerValue(*text, SITEURL);
        fresh.login = LowerValue(*text, FORMLOGINVALUE);
    }
    if (found != entries_.end()) {
        WipeSecret(found->second.friendlyName);
        WipeSecret(found->second.url);
        WipeSecret(found->second.login);
        found->second = std::move(fresh);
        return found->second;
    }
    return entries_.emplace(file.string(), std::move(fresh)).first->second;
}

bool SiteSearchCache::matches(const SiteEntry& site, std::string_view text)
{
    if (text.empty())
        return true;
    const std::string lower = LowerCaseAscii(text);
    if (Holds(LowerCaseAscii(site.name), lower))
        return true;
    const Entry& values = entry(site.file);
    return Holds(values.friendlyName, lower) || Holds(values.url, lower) || Holds(values.login, lower);
}

std::vector<SiteEntry> SiteSearchCache::search(const std::filesystem::path& root, std::string_view text)
{
    std::vector<SiteEntry> found;
    for (SiteEntry& site : ListSites(root))
        if (matches(site, text))
            found.push_back(std::move(site));
    return found;
}

void SiteSearchCache::forget()
{
    for (auto& [file, values] : entries_) {
        WipeSecret(values.friendlyName);
        WipeSecret(values.url);
        WipeSecret(values.login);
    }
    entries_.clear();
}

} // namespace kv
