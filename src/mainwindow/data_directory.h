#pragma once
// Where the program's icons and skins live: <exe>/../share/kestrelyn-vormaplex when
// installed, the build tree's resources/ when run from the build.
#include <filesystem>

namespace kv {

std::filesystem::path DataDirectory(const std::filesystem::path& executable);

} // namespace kv
