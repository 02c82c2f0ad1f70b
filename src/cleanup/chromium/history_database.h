#pragma once
// The browser's history read and deleted in the profile's own files while the browser is
// closed: the visited addresses of "History", and with them what the browser derives from
// them (visits, search terms, most-visited and link-colouring data, top sites, page icons).
#include "cleanup/chromium/chromium_profile.h"
#include "cleanup/url_cache.h"

#include <cstdint>
#include <vector>

namespace kv {

// One entry per visited address; its key is the address's row id.
UrlCache::Entries ReadHistoryEntries(const ChromiumProfile& profile);
// Removes these addresses (by row id) with their visits.
void DeleteHistoryEntries(const ChromiumProfile& profile, const std::vector<std::int64_t>& ids);
// Empties the history stores.
void ClearHistoryStores(const ChromiumProfile& profile);

} // namespace kv
