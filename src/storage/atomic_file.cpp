#include "storage/atomic_file.h"

#include "storage/temp_files.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

std::filesystem::path FolderOf(const std::filesystem::path& file)
{
    return file.has_parent_path() ? file.parent_path() : ".";
}

// Renaming over a link would replace the link and leave the old content in the file it
// points to; a folder or device in the file's place is no file of ours either.
tl::expected<void, std::error_code> CheckReplaceable(const std::filesystem::path& file)
{
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0)
        return errno == ENOENT ? tl::expected<void, std::error_code>() : tl::unexpected(LastError());
    if (S_ISLNK(info.st_mode))
        return tl::unexpected(std::make_error_code(std::errc::too_many_symbolic_link_levels));
    if (!S_ISREG(info.st_mode))
        return tl::unexpected(std::make_error_code(std::errc::invalid_argument));
    return {};
}

// Runs call on a read-only descriptor of folder.
template <typename Call>
tl::expected<void, std::error_code> OnFolder(const std::filesystem::path& folder, Call call)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return tl::unexpected(LastError());
    const int result = call(fd);
    const std::error_code error = LastError();
    ::close(fd);
    if (result != 0)
        return tl::unexpected(error);
    return {};
}

} // namespace

tl::expected<void, std::error_code> WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return tl::unexpected(LastError());
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

tl::expected<PendingFile, std::error_code> PendingFile::create(const std::filesystem::path& file,
                                                               std::string_view content)
{
    if (auto replaceable = CheckReplaceable(file); !replaceable)
        return tl::unexpected(replaceable.error());
    std::string tempName = TempFileTemplate(FolderOf(file));
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0)
        return tl::unexpected(LastError());
    auto written = [&]() -> tl::expected<void, std::error_code> {
        if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0)
            return tl::unexpected(LastError());
        return WriteAll(fd, content);
    }();
    if (::close(fd) != 0 && written)
        written = tl::unexpected(LastError());
    if (!written) {
        ::unlink(tempName.c_str());
        return tl::unexpected(written.error());
    }
    return PendingFile(file, tempName);
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : file_(std::move(other.file_)), temp_(std::exchange(other.temp_, {}))
{
}

PendingFile::~PendingFile()
{
    if (!temp_.empty())
        ::unlink(temp_.c_str());
}

tl::expected<void, std::error_code> PendingFile::sync() const
{
    const int fd = ::open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return tl::unexpected(LastError());
    const int result = ::fsync(fd);
    const std::error_code error = LastError();
    ::close(fd);
    if (result != 0)
        return tl::unexpected(error);
    return {};
}

tl::expected<void, std::error_code> PendingFile::commit()
{
    if (::rename(temp_.c_str(), file_.c_str()) != 0)
        return tl::unexpected(LastError());
    temp_.clear();
    return {};
}

tl::expected<void, std::error_code> SyncFolder(const std::filesystem::path& folder)
{
    return OnFolder(folder, [](int fd) { return ::fsync(fd); });
}

tl::expected<void, std::error_code> ReplaceFileWhole(const std::filesystem::path& file,
                                                     std::string_view content)
{
    auto pending = PendingFile::create(file, content);
    if (!pending)
        return tl::unexpected(pending.error());
    if (auto result = pending->sync(); !result)
        return result;
    if (auto result = pending->commit(); !result)
        return result;
    return SyncFolder(FolderOf(file));
}

tl::expected<void, std::error_code> AtomicFileBatch::add(const std::filesystem::path& file,
                                                         std::string_view content)
{
    auto pending = PendingFile::create(file, content);
    if (!pending)
        return tl::unexpected(pending.error());
    pending_.push_back(std::move(*pending));
    if (pending_.size() >= kFilesPerFlush)
        flush();
    return {};
}

std::vector<AtomicFileBatch::Failure> AtomicFileBatch::commit()
{
    flush();
    // One sync per file system makes every rename of the batch durable, instead of one
    // fsync per folder.
    for (const auto& [device, folder] : renamedIn_)
        (void)OnFolder(folder, [](int fd) { return ::syncfs(fd); });
    renamedIn_.clear();
    return std::exchange(failures_, {});
}

void AtomicFileBatch::flush()
{
    if (pending_.empty())
        return;
    std::map<dev_t, std::filesystem::path> devices;
    for (const PendingFile& file : pending_) {
        const std::filesystem::path folder = FolderOf(file.file());
        struct stat info {};
        if (::stat(folder.c_str(), &info) == 0)
            devices.emplace(info.st_dev, folder);
    }
    // One sync of each file system holding the temp files puts all their bytes on disk
    // before any of them replaces a file.
    std::error_code flushError;
    for (const auto& [device, folder] : devices)
        if (auto synced = OnFolder(folder, [](int fd) { return ::syncfs(fd); }); !synced && !flushError)
            flushError = synced.error();
    for (PendingFile& file : pending_) {
        if (flushError) {
            failures_.push_back({file.file(), flushError});
            continue;
        }
        if (auto committed = file.commit(); !committed)
            failures_.push_back({file.file(), committed.error()});
    }
    pending_.clear();
    if (!flushError)
        renamedIn_.insert(devices.begin(), devices.end());
}

} // namespace kv
