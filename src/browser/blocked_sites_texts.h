#pragma once
// Texts of the blocked sites list, quoted once for the rules and their tests.
#include <string_view>

namespace kv {

inline constexpr std::string_view kRemoveAllBlockedQuestion =
    "Are you sure you want to delete all blocked URLs?";
inline constexpr std::string_view kBlockedListLabel = "Blocked URLs";
inline constexpr std::string_view kBlockedListColumn = "URL";
inline constexpr int kBlockedListColumnTwips = 6000;

} // namespace kv
