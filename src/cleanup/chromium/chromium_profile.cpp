#include "cleanup/chromium/chromium_profile.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace kv {

ChromiumProfile::ChromiumProfile(std::filesystem::path userDataDir) : userDataDir_(std::move(userDataDir)) {}

std::filesystem::path ChromiumProfile::historyFile() const
{
    return defaultProfile() / "History";
}

std::filesystem::path ChromiumProfile::topSitesFile() const
{
    return defaultProfile() / "Top Sites";
}

std::filesystem::path ChromiumProfile::faviconsFile() const
{
    return defaultProfile() / "Favicons";
}

std::filesystem::path ChromiumProfile::cookiesFile() const
{
    std::filesystem::path inNetwork = defaultProfile() / "Network" / "Cookies";
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(inNetwork, error)))
        return inNetwork;
    return defaultProfile() / "Cookies";
}

std::filesystem::path ChromiumProfile::cacheDirectory() const
{
    return defaultProfile() / "Cache" / "Cache_Data";
}

bool ChromiumProfile::lockedByAnotherBrowser() const
{
    // The browser's lock is a symbolic link whose target reads "<host>-<pid>".
    const std::filesystem::path lock = userDataDir_ / "SingletonLock";
    char target[512];
    const ssize_t length = readlink(lock.c_str(), target, sizeof target);
    if (length < 0)
        return errno != ENOENT;
    const std::string owner(target, static_cast<std::size_t>(length));
    const std::size_t dash = owner.rfind('-');
    if (dash == std::string::npos)
        return true;
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0 || owner.compare(0, dash, host) != 0)
        return true;
    pid_t pid = 0;
    const char* first = owner.data() + dash + 1;
    const char* last = owner.data() + owner.size();
    if (std::from_chars(first, last, pid).ptr != last || pid <= 0)
        return true;
    return kill(pid, 0) == 0 || errno == EPERM;
}

bool ChromiumProfile::contains(const std::filesystem::path& path) const
{
    // Without a place of its own (no private folder for it), the browser has no profile to touch.
    if (userDataDir_.empty() || !userDataDir_.is_absolute())
        return false;
    const std::filesystem::path relative = path.lexically_relative(userDataDir_);
    if (relative.empty() || *relative.begin() == "..")
        return false;
    std::filesystem::path walked = userDataDir_;
    for (const auto& part : relative) {
        if (part == "." || part == "..")
            return false;
        walked /= part;
        std::error_code error;
        const auto status = std::filesystem::symlink_status(walked, error);
        if (std::filesystem::is_symlink(status))
            return false;
    }
    return true;
}

} // namespace kv
