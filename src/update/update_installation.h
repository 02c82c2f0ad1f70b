#pragma once
// The files of an update in the program folder: each new file is downloaded next to the one
// it replaces under "<name>.new"; the program's previous executable stays as "<name>.backup".
#include <filesystem>
#include <system_error>
#include <vector>

namespace kv {

std::filesystem::path DownloadPathFor(const std::filesystem::path& target);
std::filesystem::path BackupPathFor(const std::filesystem::path& executable);

// Swaps every downloaded file in, the executable first (keeping its backup), then the
// helpers. Each swap is a rename within the folder, so every file is whole, old or new, at
// any moment. A target that is not a regular file stops the installation before anything
// is swapped. New files take the mode of the file they replace (helpers without one: 0644).
std::error_code InstallUpdate(const std::filesystem::path& executable,
                              const std::vector<std::filesystem::path>& helpers);

// Removes whatever downloads of these targets lie in the folder.
void RemoveDownloads(const std::filesystem::path& executable,
                     const std::vector<std::filesystem::path>& helpers);

} // namespace kv
