#include "sites/site_lookup.h"

#include "storage/site_file.h"
#include "storage/sites_tree.h"
#include "storage/sites_tree_listing.h"

#include <algorithm>

namespace kv {
namespace {
namespace fs = std::filesystem;

void CollectSites(const fs::path& directory, const std::string& folder, std::vector<SiteEntry>& sites)
{
    const std::vector<SitesTreeEntry> entries = ListSitesTreeEntries(directory);
    for (const SitesTreeEntry& entry : entries)
        if (!entry.isFolder && IsSiteFileName(entry.name))
            sites.push_back({directory / entry.name, SiteDisplayName(entry.name), folder});
    for (const SitesTreeEntry& entry : entries)
        if (entry.isFolder)
            CollectSites(directory / entry.name, folder.empty() ? entry.name : folder + "/" + entry.name,
                         sites);
}

bool HasFolder(const fs::path& directory, std::string_view name)
{
    const std::vector<SitesTreeEntry> entries = ListSitesTreeEntries(directory);
    return std::any_of(entries.begin(), entries.end(),
                       [name](const SitesTreeEntry& entry) { return entry.isFolder && entry.name == name; });
}

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

} // namespace

std::string SiteEntry::treePath() const
{
    return folder.empty() ? name : folder + "/" + name;
}

SiteEntry SiteEntryOf(const fs::path& root, const fs::path& file)
{
    const fs::path folder = file.parent_path().lexically_relative(root);
    return {file, SiteDisplayName(file.filename().string()),
            folder.empty() || folder == "." ? std::string() : folder.generic_string()};
}

std::vector<SiteEntry> ListSites(const fs::path& root, const fs::path& folder)
{
    std::vector<SiteEntry> sites;
    const fs::path relative = folder.empty() ? fs::path() : folder.lexically_relative(root);
    const std::string start = relative.empty() || relative == "." ? std::string() : relative.generic_string();
    CollectSites(folder.empty() ? root : folder, start, sites);
    return sites;
}

tl::expected<fs::path, std::string> LookUpFolder(const fs::path& root, std::string_view folderPath)
{
    fs::path directory = root;
    std::size_t at = 0;
    while (at < folderPath.size()) {
        const std::size_t end = std::min(folderPath.find('/', at), folderPath.size());
        const std::string_view part = folderPath.substr(at, end - at);
        at = end + 1;
        if (part.empty())
            continue;
        if (!HasFolder(directory, part))
            return tl::unexpected("no folder " + Quoted(folderPath) + " in the sites tree");
        directory /= part;
    }
    return directory;
}

tl::expected<SiteEntry, std::string> LookUpSite(const fs::path& root, std::string_view name)
{
    const std::size_t slash = name.rfind('/');
    const std::string_view siteName = slash == std::string_view::npos ? name : name.substr(slash + 1);
    std::vector<SiteEntry> candidates;
    if (slash == std::string_view::npos) {
        candidates = ListSites(root);
    } else {
        const auto folder = LookUpFolder(root, name.substr(0, slash));
        if (!folder)
            return tl::unexpected(folder.error());
        for (SiteEntry& site : ListSites(root, *folder))
            if (site.file.parent_path() == *folder)
                candidates.push_back(std::move(site));
    }
    std::vector<SiteEntry> found;
    for (SiteEntry& site : candidates)
        if (site.name == siteName)
            found.push_back(std::move(site));
    if (found.empty())
        return tl::unexpected("no site " + Quoted(name) + " in the sites tree");
    if (found.size() > 1) {
        std::string paths;
        for (const SiteEntry& site : found)
            paths += (paths.empty() ? "/" : ", /") + site.treePath();
        return tl::unexpected(Quoted(name) + " names several sites; give one of " + paths);
    }
    return std::move(found.front());
}

} // namespace kv
