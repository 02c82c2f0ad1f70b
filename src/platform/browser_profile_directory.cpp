#include "platform/browser_profile_directory.h"

#include "platform/private_folder.h"

#include <cstdlib>

namespace kv {

namespace {
const std::filesystem::path kProfileSubfolder = std::filesystem::path("kestrelyn-vormaplex") / "chromium";
} // namespace

std::filesystem::path BrowserProfileDirectory()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return data / kProfileSubfolder;
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return std::filesystem::path(home) / ".local" / "share" / kProfileSubfolder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime && *runtime == '/' && IsOwnPrivateFolder(runtime))
        return runtime / kProfileSubfolder;
    return {};
}

} // namespace kv
