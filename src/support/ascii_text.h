#pragma once
// Small ASCII text rules shared across the program (names, keys, hosts compare without case).
#include <string>
#include <string_view>

namespace kv {

// Leading and trailing blanks (spaces only) removed.
std::string TrimBlanks(std::string_view text);

// ASCII letters upper-cased; other bytes kept.
std::string UpperCaseAscii(std::string_view text);
std::string LowerCaseAscii(std::string_view text);

// Equal when ASCII letters are compared without regard to case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace kv
