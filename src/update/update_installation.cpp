#include "update/update_installation.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {
namespace {

constexpr mode_t kHelperMode = 0644;

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

std::filesystem::path WithSuffix(const std::filesystem::path& file, const char* suffix)
{
    std::filesystem::path named = file;
    named += suffix;
    return named;
}

// The download's bytes reach the disk before its name takes the old file's place.
std::error_code SyncFile(const std::filesystem::path& file, int flags)
{
    const int fd = ::open(file.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return LastError();
    const int synced = ::fsync(fd);
    const std::error_code error = synced == 0 ? std::error_code() : LastError();
    ::close(fd);
    return error;
}

std::error_code Prepare(const std::filesystem::path& target, mode_t modeWithoutTarget)
{
    struct stat existing {};
    mode_t mode = modeWithoutTarget;
    if (::lstat(target.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode))
            return std::make_error_code(std::errc::is_a_directory);
        mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        return LastError();
    }
    const std::filesystem::path download = DownloadPathFor(target);
    if (::chmod(download.c_str(), mode) != 0)
        return LastError();
    return SyncFile(download, O_RDONLY);
}

// The running executable keeps its name until the new one takes it; the backup is a second
// name for the same file, swapped in whole like everything else.
std::error_code KeepBackup(const std::filesystem::path& executable)
{
    const std::filesystem::path backup = BackupPathFor(executable);
    const std::filesystem::path fresh = WithSuffix(backup, ".new");
    std::error_code error;
    std::filesystem::remove(fresh, error);
    if (::link(executable.c_str(), fresh.c_str()) != 0) {
        // Folders that allow no hard links get a copy.
        if (!std::filesystem::copy_file(executable, fresh, std::filesystem::copy_options::overwrite_existing,
                                        error))
            return error;
        if ((error = SyncFile(fresh, O_RDONLY)))
            return error;
    }
    if (::rename(fresh.c_str(), backup.c_str()) != 0)
        return LastError();
    return {};
}

std::error_code SwapIn(const std::filesystem::path& target)
{
    if (::rename(DownloadPathFor(target).c_str(), target.c_str()) != 0)
        return LastError();
    return {};
}

} // namespace

std::filesystem::path DownloadPathFor(const std::filesystem::path& target)
{
    return WithSuffix(target, ".new");
}

std::filesystem::path BackupPathFor(const std::filesystem::path& executable)
{
    return WithSuffix(executable, ".backup");
}

std::error_code InstallUpdate(const std::filesystem::path& executable,
                              const std::vector<std::filesystem::path>& helpers)
{
    if (std::error_code error = Prepare(executable, 0755))
        return error;
    for (const auto& helper : helpers) {
        if (std::error_code error = Prepare(helper, kHelperMode))
            return error;
    }
    if (std::error_code error = KeepBackup(executable))
        return error;
    if (std::error_code error = SwapIn(executable))
        return error;
    for (const auto& helper : helpers) {
        if (std::error_code error = SwapIn(helper))
            return error;
    }
    const std::filesystem::path folder = executable.has_parent_path() ? executable.parent_path() : ".";
    return SyncFile(folder, O_RDONLY | O_DIRECTORY);
}

void RemoveDownloads(const std::filesystem::path& executable,
                     const std::vector<std::filesystem::path>& helpers)
{
    std::error_code ignored;
    std::filesystem::remove(DownloadPathFor(executable), ignored);
    for (const auto& helper : helpers)
        std::filesystem::remove(DownloadPathFor(helper), ignored);
}

} // namespace kv
