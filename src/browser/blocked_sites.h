#pragma once
// The addresses for which capture never offers to save a site. They live in the
// profile settings file as "BlackList1".."BlackListN" of section "Blacklist",
// numbered without gaps in the order they were blocked; nothing is cached.
#include "support/dialogs.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// One row of the blocked sites list view: the address and its entry number (the item's tag).
struct BlockedEntry {
    int number = 0;
    std::string url;
    bool operator==(const BlockedEntry&) const = default;
};

class BlockedSites {
public:
    explicit BlockedSites(std::filesystem::path profileFile);

    // Only the exact address (case-sensitive, whole text) is blocked.
    bool contains(std::string_view url) const;

    // Appends without looking for duplicates.
    void add(std::string_view url);

    // Removes one entry and moves every later entry down by one, so the numbers stay
    // 1..count-1. A number outside the list removes nothing.
    void remove(int entryNumber);

    // Asks first; only Yes empties the list.
    void removeAll(Dialogs& dialogs);

    // In entry-number order.
    std::vector<BlockedEntry> entries() const;

    // The rows of the list view: sorted by address, ascending, letter case ignored.
    std::vector<BlockedEntry> listItems() const;

private:
    std::filesystem::path profileFile_;
};

} // namespace kv
