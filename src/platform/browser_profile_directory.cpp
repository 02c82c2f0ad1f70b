#include "platform/browser_profile_directory.h"

#include "platform/private_folder.h"
#include "platform/xdg_directories.h"

#include <cstdlib>

namespace kv {

namespace {
const std::filesystem::path kProfileSubfolder = std::filesystem::path("kestrelyn-vormaplex") / "chromium";
} // namespace

std::filesystem::path BrowserProfileDirectory()
{
    if (const std::filesystem::path data = XdgDataHome(); !data.empty())
        return data / kProfileSubfolder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime && *runtime == '/' && IsOwnPrivateFolder(runtime))
        return runtime / kProfileSubfolder;
    return {};
}

} // namespace kv
