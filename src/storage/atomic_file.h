#pragma once
// Files replaced whole or not at all. New content goes into a hidden temp file beside the
// file (owner-only, named as temp_files.h says, so folder walks skip it); once its bytes
// are on disk, a rename puts it in place, and syncing the folder makes the rename itself
// durable. A link in the file's place is refused, never replaced.
#include <filesystem>
#include <map>
#include <string_view>
#include <sys/types.h>
#include <system_error>
#include <tl/expected.hpp>
#include <vector>

namespace kv {

class PendingFile {
public:
    // The content written but not yet synced. The folder must exist.
    static tl::expected<PendingFile, std::error_code> create(const std::filesystem::path& file,
                                                             std::string_view content);
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&&) = delete;
    ~PendingFile(); // a temp file never put in place is removed

    tl::expected<void, std::error_code> sync() const;
    // Renames the temp file over the file; the folder is not synced.
    tl::expected<void, std::error_code> commit();

    const std::filesystem::path& file() const { return file_; }

private:
    PendingFile(std::filesystem::path file, std::filesystem::path temp)
        : file_(std::move(file)), temp_(std::move(temp))
    {
    }
    std::filesystem::path file_;
    std::filesystem::path temp_; // empty once committed or moved from
};

tl::expected<void, std::error_code> SyncFolder(const std::filesystem::path& folder);

// Writes every byte to the open file, going on after short and interrupted writes.
tl::expected<void, std::error_code> WriteAll(int fd, std::string_view bytes);

// One file replaced: written, synced, put in place, and its folder synced.
tl::expected<void, std::error_code> ReplaceFileWhole(const std::filesystem::path& file,
                                                     std::string_view content);

// Many files written with as few syncs as atomic replacement allows: the pending files'
// bytes are flushed with one sync of their file system, then each is renamed in place;
// commit() syncs the file systems once more, which makes the renames durable.
class AtomicFileBatch {
public:
    // Files kept pending before a flush; each holds an open temp file only between calls.
    static constexpr std::size_t kFilesPerFlush = 512;

    struct Failure {
        std::filesystem::path file;
        std::error_code error;
    };

    // An error here means this file will not be written; what is pending is dropped when
    // the batch goes without commit().
    tl::expected<void, std::error_code> add(const std::filesystem::path& file, std::string_view content);
    // Puts every added file in place; the files that could not be are returned.
    std::vector<Failure> commit();

private:
    void flush();

    std::vector<PendingFile> pending_;
    std::vector<Failure> failures_;
    std::map<dev_t, std::filesystem::path> renamedIn_; // a folder per file system with renames to sync
};

} // namespace kv
