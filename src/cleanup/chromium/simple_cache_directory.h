#pragma once
// The browser's disk cache in its "simple" layout: one file "<16 hex digits>_0" per entry
// (with "_1" and "_s" beside it for further streams), each starting with a header that holds
// the entry's key, and an index that the browser rebuilds from the files when it is missing.
#include "cleanup/chromium/chromium_profile.h"
#include "cleanup/url_cache.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// One entry per entry file; its key is the file's hash name. Reading never writes.
UrlCache::Entries ReadSimpleCacheEntries(const ChromiumProfile& profile);
// Deletes the files of these entries (by hash name) and the index, so that the browser
// rebuilds it from what is left. Only for a cache no browser has open.
void DeleteSimpleCacheEntries(const ChromiumProfile& profile, const std::vector<std::string>& hashes);

// The address inside a cache key: keys may carry partitioning prefixes ("1/0/_dk_<site>
// <site> <address>"); the address is the last part.
std::string CacheKeyAddress(std::string_view key);

} // namespace kv
