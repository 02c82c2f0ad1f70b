#pragma once
// The system's texts (UTF-8 string views) as Qt strings.
#include <QString>
#include <string_view>

namespace kv {

inline QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace kv
