#pragma once
// A site's "Main" values as import stores them: encrypted with the current ValueKey, one
// whole file at a time.
#include "storage/site_file.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// In the order of kMainKeys; an empty value is not written.
using SiteValues = std::array<std::string, kMainKeys.size()>;

std::string& ValueOf(SiteValues& values, std::string_view key);

// Why the values cannot be stored so that they read back the same, or nothing.
std::optional<std::string_view> StoredValuesProblem(const SiteValues& values);

// The text of a site file after storing values over existingText ("" for a new file):
// every non-empty value replaces the stored one; the other keys, and "Stats", stay.
std::string StoredSiteText(std::string_view existingText, const SiteValues& values);

} // namespace kv
