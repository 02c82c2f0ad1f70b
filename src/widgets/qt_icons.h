#pragma once
// Icons from the data directory's icons/ folder, with the built-in copies as fallback
// (and in their place when no data directory is given).
#include <QIcon>
#include <filesystem>
#include <string_view>

namespace kv {

QIcon LoadIcon(const std::filesystem::path& dataDirectory, std::string_view name);
QIcon ProgramIcon(const std::filesystem::path& dataDirectory);

} // namespace kv
