#pragma once
// The program's own Chromium profile (its user data directory): where its history, cookies
// and disk cache are kept, and whether they may be touched from outside the browser.
// Nothing outside this directory is ever read for cleanup or deleted.
#include <filesystem>

namespace kv {

class ChromiumProfile {
public:
    explicit ChromiumProfile(std::filesystem::path userDataDir);

    const std::filesystem::path& userDataDir() const { return userDataDir_; }
    std::filesystem::path historyFile() const;
    std::filesystem::path topSitesFile() const;
    std::filesystem::path faviconsFile() const;
    // Newer browsers keep the cookies in a "Network" folder, older ones beside the history.
    std::filesystem::path cookiesFile() const;
    std::filesystem::path cacheDirectory() const;

    // A browser process other than ours holds the profile: its lock names a live process, or
    // one on another machine, or cannot be read.
    bool lockedByAnotherBrowser() const;
    // path lies inside the profile and no part of it below the profile is a symbolic link,
    // so nothing reached through it can be outside. A profile without an absolute directory
    // contains nothing.
    bool contains(const std::filesystem::path& path) const;

private:
    std::filesystem::path defaultProfile() const { return userDataDir_ / "Default"; }

    std::filesystem::path userDataDir_;
};

} // namespace kv
