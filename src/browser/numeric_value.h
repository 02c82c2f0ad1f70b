#pragma once
// Settings such as MAXIE or HOTKEYLOCK are read by the number at the start of their text:
// blanks skipped, "1", " 1 " and "1.0" are 1; an empty or non-numeric text is 0.
#include <string_view>

namespace kv {

double LeadingNumber(std::string_view text);

inline bool IsNumericOne(std::string_view text)
{
    return LeadingNumber(text) == 1.0;
}

} // namespace kv
