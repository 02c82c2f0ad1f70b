#pragma once
// Finding sites by what the user remembers: a site matches when its friendly name, its
// address, its login or its name in the tree holds the text, letter case ignored. The
// decrypted values are kept in memory for the session (by file, refreshed when the file
// changes) so that filtering as the user types does not decrypt the tree on every key;
// they are never written anywhere, and forget() wipes them.
#include "sites/site_lookup.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv {

class SiteSearchCache {
public:
    SiteSearchCache() = default;
    ~SiteSearchCache() { forget(); }
    SiteSearchCache(const SiteSearchCache&) = delete;
    SiteSearchCache& operator=(const SiteSearchCache&) = delete;

    // "" matches every site. A site that cannot be decrypted matches by its tree name only.
    bool matches(const SiteEntry& site, std::string_view text);

    // The matching sites of the tree below root, in the order of ListSites.
    std::vector<SiteEntry> search(const std::filesystem::path& root, std::string_view text);

    // Overwrites every decrypted value, then drops them.
    void forget();
    std::size_t size() const { return entries_.size(); }

private:
    struct Entry {
        std::filesystem::file_time_type modified;
        std::string friendlyName; // lower case, like the three below
        std::string url;
        std::string login;
    };
    const Entry& entry(const std::filesystem::path& file);

    std::unordered_map<std::string, Entry> entries_;
};

} // namespace kv
