#include "platform/supported_browser.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace kv {

namespace {
namespace fs = std::filesystem;

bool Runnable(const fs::path& file)
{
    std::error_code ec;
    return fs::is_regular_file(file, ec) && ::access(file.c_str(), X_OK) == 0;
}
} // namespace

fs::path FindSupportedBrowser()
{
    // The Debian wrapper /usr/bin/chromium sources shell settings first; the program itself is here.
    if (const fs::path own = "/usr/lib/chromium/chromium"; Runnable(own))
        return own;
    const char* path = std::getenv("PATH");
    const std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
        for (std::size_t at = 0; at <= folders.size();) {
            const std::size_t end = std::min(folders.find(':', at), folders.size());
            const std::string_view folder = folders.substr(at, end - at);
            if (!folder.empty() && Runnable(fs::path(folder) / name))
                return fs::path(folder) / name;
            at = end + 1;
        }
    }
    return {};
}

} // namespace kv
