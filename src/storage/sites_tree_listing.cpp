#include "storage/sites_tree_listing.h"

#include <algorithm>
#include <cctype>
#include <fnmatch.h>

namespace kv {

namespace {
namespace fs = std::filesystem;

int CompareCaseless(const std::string& a, const std::string& b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int x = std::toupper(static_cast<unsigned char>(a[i]));
        const int y = std::toupper(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool NameBefore(const SitesTreeEntry& a, const SitesTreeEntry& b)
{
    const int caseless = CompareCaseless(a.name, b.name);
    return caseless != 0 ? caseless < 0 : a.name < b.name;
}

// The entry's kind from the type the listing already delivered; only links cost a stat.
enum class Kind { Folder, File, LinkedFile, Skipped };
Kind KindOf(const fs::directory_entry& entry)
{
    std::error_code ec;
    if (entry.is_symlink(ec)) {
        const fs::file_status target = entry.status(ec);
        return !ec && fs::is_regular_file(target) ? Kind::LinkedFile : Kind::Skipped;
    }
    if (entry.is_directory(ec))
        return Kind::Folder;
    if (entry.is_regular_file(ec))
        return Kind::File;
    return Kind::Skipped;
}
} // namespace

std::vector<SitesTreeEntry> ListSitesTreeEntries(const fs::path& directory)
{
    std::vector<SitesTreeEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(directory, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const Kind kind = KindOf(*it);
        if (kind != Kind::Skipped)
            entries.push_back(
                {it->path().filename().string(), kind == Kind::Folder, kind == Kind::LinkedFile});
    }
    std::sort(entries.begin(), entries.end(), NameBefore);
    return entries;
}

bool MatchesFilePattern(std::string_view pattern, const std::string& fileName)
{
    if (pattern == "*.*")
        return true;
    return fnmatch(std::string(pattern).c_str(), fileName.c_str(), FNM_CASEFOLD) == 0;
}

} // namespace kv
