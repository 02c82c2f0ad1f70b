#pragma once
// Names for files and folders made from outside text (friendly names, groups of other
// programs): never a path of their own, never hidden, never longer than a file name can be.
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace kv {

// The name with "/", NUL and the characters the site dialogs refuse (\ : * ? " < > |)
// replaced by "_", a leading "." replaced too, cut at a character boundary to leave room
// for reserve more bytes within 255; "_" when nothing is left.
std::string SafeFileName(std::string_view name, std::size_t reserve = 0);

enum class ExistingFiles { Replace, Keep };

// SafeFileName(name) + ".QVR" in folder, or "name (2).QVR", "name (3).QVR", ... when that
// file name is among taken or, to keep existing files, exists in folder. The name is added
// to taken.
std::filesystem::path UniqueSiteFile(const std::filesystem::path& folder, std::string_view name,
                                     std::set<std::string>& taken, ExistingFiles existing);

} // namespace kv
