#include "storage/sites_tree.h"

#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "storage/sites_tree_listing.h"
#include "support/ascii_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <sys/stat.h>

namespace kv {

namespace {
namespace fs = std::filesystem;

// A folder's own files first, then its subfolders in the order listed.
void WalkFolders(const fs::path& directory, std::int32_t& folderCount,
                 const std::function<void(const fs::path&, const std::string&)>& visitFile)
{
    const std::vector<SitesTreeEntry> entries = ListSitesTreeEntries(directory);
    for (const SitesTreeEntry& entry : entries)
        if (entry.isFolder)
            ++folderCount;
    for (const SitesTreeEntry& entry : entries)
        if (!entry.isFolder)
            visitFile(directory, entry.name);
    for (const SitesTreeEntry& entry : entries)
        if (entry.isFolder)
            WalkFolders(directory / entry.name, folderCount, visitFile);
}

// The files of the search's directory that match its pattern, then (when recursive)
// those of every subfolder not beginning with "."; the search's directory is put back.
void WalkSearch(SiteSearch& search, const std::function<void(const fs::path&, const std::string&)>& visitFile)
{
    const std::vector<SitesTreeEntry> entries = ListSitesTreeEntries(search.directory);
    for (const SitesTreeEntry& entry : entries) {
        if (entry.isFolder || !MatchesFilePattern(search.pattern, entry.name))
            continue;
        ++search.fileCount;
        visitFile(search.directory, entry.name);
    }
    if (!search.recursive)
        return;
    const fs::path directory = search.directory;
    for (const SitesTreeEntry& entry : entries) {
        if (!entry.isFolder || entry.name.starts_with('.'))
            continue;
        search.directory = directory / entry.name;
        WalkSearch(search, visitFile);
    }
    search.directory = directory;
}

// The leading decimal number of a counter, rounded half to even; 0 when there is none.
std::int64_t CounterValue(const std::string& text)
{
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return 0;
    if (text[start] == '+')
        ++start;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value))
        return 0;
    constexpr double limit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int64_t>(std::nearbyint(std::clamp(value, -limit - 1, limit)));
}
} // namespace

bool IsSiteFileName(std::string_view fileName)
{
    return fileName.find(kSiteFileExtension) != std::string_view::npos;
}

std::string SiteDisplayName(std::string_view fileName)
{
    std::string name;
    for (std::size_t at = 0;;) {
        const std::size_t found = fileName.find(kSiteFileExtension, at);
        name.append(fileName.substr(at, found - at));
        if (found == std::string_view::npos)
            return name;
        at = found + kSiteFileExtension.size();
    }
}

void CollectSiteFiles(const fs::path& directory, std::string_view pattern, std::vector<fs::path>& list,
                      std::int32_t& fileCount, std::int32_t& folderCount)
{
    WalkFolders(directory, folderCount, [&](const fs::path& folder, const std::string& name) {
        if (!MatchesFilePattern(pattern, name) || !IsSiteFileName(name))
            return;
        list.push_back(folder / name);
        ++fileCount;
    });
}

void FindSiteFile(const fs::path& directory, std::string_view fileName, std::int32_t& fileCount,
                  std::int32_t& folderCount, fs::path& result)
{
    WalkFolders(directory, folderCount, [&](const fs::path& folder, const std::string& name) {
        if (name != fileName)
            return;
        result = folder / name;
        ++fileCount;
    });
}

void ListSiteNames(SiteSearch& search, std::vector<std::string>& names)
{
    WalkSearch(search, [&](const fs::path&, const std::string& name) {
        if (IsSiteFileName(name))
            names.push_back(SiteDisplayName(name));
    });
}

void SumSuccessCounts(SiteSearch& search, std::int64_t& total)
{
    WalkSearch(search, [&](const fs::path& folder, const std::string& name) {
        if (!IsSiteFileName(name))
            return;
        const auto success = ReadSecureValue(kStatsSection, SUCCESS, folder / name);
        if (success && !success->empty())
            total += CounterValue(*success);
    });
}

void MakeDirPath(const fs::path& path)
{
    if (!path.is_absolute())
        return;
    fs::path level = path.root_path();
    for (const fs::path& component : path.relative_path()) {
        if (component.empty())
            continue;
        level /= component;
        ::mkdir(level.c_str(), 0700);
    }
}

bool FileExists(const fs::path& path)
{
    const std::string name = path.filename().string();
    if (name.empty() || name.starts_with('.'))
        return false;
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string FileNameFromPath(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return TrimBlanks(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string AddTrailingSlash(std::string_view path)
{
    std::string result(path);
    if (!result.ends_with('/'))
        result += '/';
    return result;
}

std::string TrimAtNul(std::string_view text)
{
    return std::string(text.substr(0, text.find('\0')));
}

} // namespace kv
