#include "browser/numeric_value.h"

#include <cctype>

namespace kv {

double LeadingNumber(std::string_view text)
{
    std::size_t i = 0;
    auto isBlank = [&] { return i < text.size() && (text[i] == ' ' || text[i] == '\t'); };
    auto isDigit = [&] { return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); };
    while (isBlank())
        ++i;
    double sign = 1.0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        sign = text[i] == '-' ? -1.0 : 1.0;
        ++i;
    }
    double value = 0.0;
    for (; isDigit(); ++i)
        value = value * 10.0 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (double scale = 0.1; isDigit(); ++i, scale /= 10.0)
            value += (text[i] - '0') * scale;
    }
    return sign * value;
}

} // namespace kv
