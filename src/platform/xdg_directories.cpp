#include "platform/xdg_directories.h"

#include <cstdlib>

namespace kv {

namespace {
std::filesystem::path BaseFolder(const char* variable, const std::filesystem::path& belowHome)
{
    if (const char* set = std::getenv(variable); set && *set == '/')
        return set;
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return home / belowHome;
    return {};
}
} // namespace

std::filesystem::path XdgConfigHome()
{
    return BaseFolder("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path XdgDataHome()
{
    return BaseFolder("XDG_DATA_HOME", std::filesystem::path(".local") / "share");
}

} // namespace kv
