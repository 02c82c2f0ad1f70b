#include "platform/user_account.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace kv {

namespace {
namespace fs = std::filesystem;

const passwd* OwnEntry()
{
    return getpwuid(geteuid());
}

fs::path HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    const passwd* entry = OwnEntry();
    return entry && entry->pw_dir ? fs::path(entry->pw_dir) : fs::path();
}

fs::path ConfigFolder(const fs::path& home)
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return config;
    return home / ".config";
}

// XDG_DOCUMENTS_DIR="$HOME/Documents" from user-dirs.dirs: only "$HOME/..." and absolute
// paths are valid there; a value equal to the home folder means "not set".
fs::path DocumentsFromUserDirs(const fs::path& home)
{
    std::ifstream in(ConfigFolder(home) / "user-dirs.dirs");
    const std::string prefix = "XDG_DOCUMENTS_DIR=\"";
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with(prefix) || !line.ends_with('"'))
            continue;
        std::string value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        fs::path folder;
        if (value.starts_with("$HOME"))
            folder = home.string() + value.substr(5);
        else if (value.starts_with('/'))
            folder = value;
        if (!folder.empty() && (folder / "").lexically_normal() != (home / "").lexically_normal())
            return folder;
    }
    return {};
}
} // namespace

std::string LinuxUserAccount::name() const
{
    const passwd* entry = OwnEntry();
    return entry && entry->pw_name ? entry->pw_name : "";
}

fs::path LinuxUserAccount::documentsFolder() const
{
    const fs::path home = HomeFolder();
    if (home.empty())
        return {};
    if (fs::path folder = DocumentsFromUserDirs(home); !folder.empty())
        return folder;
    return home / "Documents";
}

} // namespace kv
