#pragma once
// The browser's cookies read and deleted in the profile's "Cookies" store while the browser
// is closed.
#include "cleanup/chromium/chromium_profile.h"
#include "cleanup/url_cache.h"

#include <cstdint>
#include <vector>

namespace kv {

// One entry per cookie; its key is the cookie's row id.
UrlCache::Entries ReadCookieEntries(const ChromiumProfile& profile);
void DeleteCookieEntries(const ChromiumProfile& profile, const std::vector<std::int64_t>& ids);

} // namespace kv
