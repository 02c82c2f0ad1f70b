#include "cleanup/chromium/history_database.h"

#include "cleanup/chromium/profile_database.h"

#include <array>
#include <string>
#include <string_view>

namespace kv {
namespace {

// Tables that hold visited addresses or facts about visits; settings, downloads and sync
// bookkeeping are left as they are.
constexpr std::array kHistoryTables{"urls",
                                    "visits",
                                    "visit_source",
                                    "visited_links",
                                    "keyword_search_terms",
                                    "segments",
                                    "segment_usage",
                                    "content_annotations",
                                    "context_annotations",
                                    "clusters",
                                    "clusters_and_visits",
                                    "cluster_keywords",
                                    "cluster_visit_duplicates"};
constexpr std::array kTopSitesTables{"top_sites"};
constexpr std::array kFaviconTables{"icon_mapping", "favicon_bitmaps", "favicons"};

// Tables keyed by an address's row id, with the column that names it.
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kByAddress{
    {{"visits", "url"},
     {"keyword_search_terms", "url_id"},
     {"segments", "url_id"},
     {"visited_links", "link_url_id"},
     {"urls", "id"}}};

template <std::size_t N>
void EmptyTables(const ChromiumProfile& profile, const std::filesystem::path& file,
                 const std::array<const char*, N>& tables)
{
    if (!profile.contains(file))
        return;
    ProfileDatabase db(file, ProfileDatabase::Access::Write);
    if (!db.isOpen())
        return;
    db.inTransaction([&] {
        for (const char* table : tables)
            if (db.hasTable(table) && !db.run(std::string("DELETE FROM ") + table))
                return false;
        return true;
    });
}

} // namespace

UrlCache::Entries ReadHistoryEntries(const ChromiumProfile& profile)
{
    UrlCache::Entries entries;
    if (!profile.contains(profile.historyFile()))
        return entries;
    ProfileDatabase db(profile.historyFile(), ProfileDatabase::Access::Read);
    const bool complete = db.forEachRow("SELECT id, url FROM urls", [&](sqlite3_stmt* row) {
        entries.push_back({ProfileDatabase::columnText(row, 1), URLHISTORY_CACHE_ENTRY,
                           std::to_string(sqlite3_column_int64(row, 0))});
    });
    // A store that breaks off half-way is damaged: it counts as unreadable, not as half.
    if (!complete)
        entries.clear();
    return entries;
}

void DeleteHistoryEntries(const ChromiumProfile& profile, const std::vector<std::int64_t>& ids)
{
    if (ids.empty() || !profile.contains(profile.historyFile()))
        return;
    ProfileDatabase db(profile.historyFile(), ProfileDatabase::Access::Write);
    if (!db.isOpen())
        return;
    db.inTransaction([&] {
        for (const auto& [table, column] : kByAddress)
            if (db.hasTable(table) &&
                !db.runForEach("DELETE FROM " + std::string(table) + " WHERE " + std::string(column) + " = ?",
                               ids))
                return false;
        return true;
    });
}

void ClearHistoryStores(const ChromiumProfile& profile)
{
    EmptyTables(profile, profile.historyFile(), kHistoryTables);
    EmptyTables(profile, profile.topSitesFile(), kTopSitesTables);
    EmptyTables(profile, profile.faviconsFile(), kFaviconTables);
}

} // namespace kv
