#include "update/version_compare.h"

#include <string>

namespace kv {

bool UpdateOffered(std::string_view manifestVersion, const ProgramVersion& running)
{
    std::string offered;
    for (const char c : manifestVersion) {
        if (c != '.')
            offered += c;
    }
    const std::string own =
        std::to_string(running.major) + std::to_string(running.minor) + std::to_string(running.revision);
    return offered > own;
}

} // namespace kv
