#include "mainwindow/data_directory.h"

namespace kv {

std::filesystem::path DataDirectory(const std::filesystem::path& executable)
{
    std::filesystem::path prefix = executable.parent_path().parent_path();
    std::filesystem::path installed = prefix / "share" / "kestrelyn-vormaplex";
    std::error_code error;
    if (std::filesystem::is_directory(installed, error))
        return installed;
    return prefix / "resources";
}

} // namespace kv
