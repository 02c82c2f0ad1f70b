#include "update/file_size_text.h"

#include <cstdio>

namespace kv {
namespace {

std::string Formatted(double value, int decimals, const char* unit)
{
    const int length = std::snprintf(nullptr, 0, "%.*f%s", decimals, value, unit);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, "%.*f%s", decimals, value, unit);
    return text;
}

} // namespace

std::string getFileSize(double bytes)
{
    const double kilobytes = bytes / 1024;
    const double megabytes = kilobytes / 1024;
    const double gigabytes = megabytes / 1024;
    if (kilobytes < 1500)
        return Formatted(kilobytes, 2, "KB");
    if (megabytes >= 1 && megabytes < 1000)
        return Formatted(megabytes, 2, "MB");
    // Between 1000 MB and 1 GB the size is given in kilobytes, to three places.
    if (gigabytes < 1)
        return Formatted(kilobytes, 3, "KB");
    return Formatted(gigabytes, 2, "GB");
}

} // namespace kv
