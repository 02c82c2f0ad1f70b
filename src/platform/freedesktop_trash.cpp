#include "platform/freedesktop_trash.h"

#include "storage/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {
namespace {
namespace fs = std::filesystem;

// Enough for any realistic number of same-named items; beyond it something else is wrong.
constexpr int kMaxSameNames = 10000;

std::optional<dev_t> DeviceOf(const fs::path& path, bool followLink)
{
    struct stat info {};
    const int result = followLink ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (result != 0)
        return std::nullopt;
    return info.st_dev;
}

// A folder of ours that only we may enter: created 0700 when missing, refused when it is
// a link or belongs to somebody else (a planted folder could read what we trash).
bool PrivateFolder(const fs::path& folder)
{
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

bool UsableTrash(const fs::path& trash)
{
    return PrivateFolder(trash) && PrivateFolder(trash / "files") && PrivateFolder(trash / "info");
}

// The filesystem the home trash lives on: that of the folder holding it, created when
// missing (only the trash itself is private).
std::optional<dev_t> HomeTrashDevice(const fs::path& homeTrash)
{
    if (homeTrash.empty())
        return std::nullopt;
    std::error_code ignored;
    fs::create_directories(homeTrash.parent_path(), ignored);
    return DeviceOf(homeTrash.parent_path(), true);
}

// The top folder of the filesystem that holds path: the highest folder on the same device.
fs::path TopFolder(const fs::path& absolutePath, dev_t device)
{
    fs::path top = absolutePath.parent_path();
    while (top.has_relative_path()) {
        const fs::path above = top.parent_path();
        if (DeviceOf(above, true) != device)
            break;
        top = above;
    }
    return top;
}

// $topdir/.Trash/$uid when the administrator set up a shared trash (a real, sticky
// folder), else $topdir/.Trash-$uid.
std::optional<fs::path> TopTrash(const fs::path& top)
{
    const std::string uid = std::to_string(::geteuid());
    struct stat shared {};
    if (::lstat((top / ".Trash").c_str(), &shared) == 0 && S_ISDIR(shared.st_mode) &&
        (shared.st_mode & S_ISVTX) && UsableTrash(top / ".Trash" / uid))
        return top / ".Trash" / uid;
    if (UsableTrash(top / (".Trash-" + uid)))
        return top / (".Trash-" + uid);
    return std::nullopt;
}

std::string DeletionDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

std::string TrashName(const fs::path& original, int attempt)
{
    if (attempt == 1)
        return original.filename().string();
    return original.stem().string() + "." + std::to_string(attempt) + original.extension().string();
}

enum class Renamed { Yes, NameTaken, No };

// Never replaces anything already in the trash, even an empty folder of the same name.
Renamed RenameWithoutReplacing(const fs::path& from, const fs::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return Renamed::Yes;
    if (errno == EEXIST)
        return Renamed::NameTaken;
    if (errno != EINVAL && errno != ENOSYS)
        return Renamed::No;
    // A filesystem without the no-replace flag: look first, then rename.
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0)
        return Renamed::NameTaken;
    return ::rename(from.c_str(), to.c_str()) == 0 ? Renamed::Yes : Renamed::No;
}

// The info file is created first and exclusively: it reserves the name, so two programs
// trashing at once never pick the same one.
bool MoveInto(const fs::path& trash, const fs::path& item)
{
    const std::string info =
        "[Trash Info]\nPath=" + TrashInfoPath(item) + "\nDeletionDate=" + DeletionDate() + "\n";
    for (int attempt = 1; attempt <= kMaxSameNames; ++attempt) {
        const std::string name = TrashName(item, attempt);
        const fs::path infoFile = trash / "info" / (name + ".trashinfo");
        const int file = ::open(infoFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (file < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        const bool written = WriteAll(file, info) && ::fsync(file) == 0;
        ::close(file);
        const Renamed renamed = written ? RenameWithoutReplacing(item, trash / "files" / name) : Renamed::No;
        if (renamed == Renamed::Yes)
            return true;
        ::unlink(infoFile.c_str());
        if (renamed == Renamed::No)
            return false;
    }
    return false;
}

} // namespace

FreedesktopTrash::FreedesktopTrash(fs::path homeTrash) : homeTrash_(std::move(homeTrash)) {}

fs::path FreedesktopTrash::DefaultHomeTrash()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return fs::path(data) / "Trash";
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return fs::path(home) / ".local" / "share" / "Trash";
    return {};
}

bool FreedesktopTrash::moveToTrash(const fs::path& path)
{
    std::error_code error;
    const fs::path item = fs::absolute(path, error).lexically_normal();
    if (error || !item.has_relative_path())
        return false;
    const std::optional<dev_t> device = DeviceOf(item, false);
    if (!device)
        return false;
    // What lies on the home trash's filesystem goes there or nowhere.
    if (HomeTrashDevice(homeTrash_) == device)
        return UsableTrash(homeTrash_) && MoveInto(homeTrash_, item);
    const std::optional<fs::path> top = TopTrash(TopFolder(item, *device));
    return top && DeviceOf(*top, true) == device && MoveInto(*top, item);
}

std::string TrashInfoPath(const fs::path& absolutePath)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const unsigned char c : absolutePath.string()) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

} // namespace kv
