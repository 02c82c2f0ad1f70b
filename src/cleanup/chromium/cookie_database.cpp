#include "cleanup/chromium/cookie_database.h"

#include "cleanup/chromium/cookie_address.h"
#include "cleanup/chromium/profile_database.h"

#include <string>

namespace kv {

UrlCache::Entries ReadCookieEntries(const ChromiumProfile& profile)
{
    UrlCache::Entries entries;
    const std::filesystem::path file = profile.cookiesFile();
    if (!profile.contains(file))
        return entries;
    ProfileDatabase db(file, ProfileDatabase::Access::Read);
    const bool complete =
        db.forEachRow("SELECT rowid, host_key, path, is_secure FROM cookies", [&](sqlite3_stmt* row) {
            entries.push_back(
                {CookieAddress(ProfileDatabase::columnText(row, 1), ProfileDatabase::columnText(row, 2),
                               sqlite3_column_int(row, 3) != 0),
                 COOKIE_CACHE_ENTRY, std::to_string(sqlite3_column_int64(row, 0))});
        });
    if (!complete)
        entries.clear();
    return entries;
}

void DeleteCookieEntries(const ChromiumProfile& profile, const std::vector<std::int64_t>& ids)
{
    const std::filesystem::path file = profile.cookiesFile();
    if (ids.empty() || !profile.contains(file))
        return;
    ProfileDatabase db(file, ProfileDatabase::Access::Write);
    if (db.isOpen())
        db.inTransaction([&] { return db.runForEach("DELETE FROM cookies WHERE rowid = ?", ids); });
}

} // namespace kv
