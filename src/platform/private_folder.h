#pragma once
// Folders that only this user may enter: what is kept in them is nobody else's to read.
#include <filesystem>

namespace kv {

// A real folder (not a link) owned by this user, with no access for group or others.
bool IsOwnPrivateFolder(const std::filesystem::path& folder);

} // namespace kv
