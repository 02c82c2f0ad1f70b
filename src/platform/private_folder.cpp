#include "platform/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace kv {

bool IsOwnPrivateFolder(const std::filesystem::path& folder)
{
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           (info.st_mode & 077) == 0;
}

} // namespace kv
