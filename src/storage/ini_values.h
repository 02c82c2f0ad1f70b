#pragma once
// The plain half of the one storage layer: every INI value of the system is read
// and written here, key by key, with a full file path. No handle or cache is kept.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kv {

// A plain read fetches at most this many bytes of a value.
inline constexpr std::size_t kMaxIniValueLength = 19'999;
// The longest value whose encrypted text still fits a plain read.
inline constexpr std::size_t kMaxSecureValueLength = 6'652;

// The value, or "" when the file, section or key is absent (at most kMaxIniValueLength bytes).
std::string ReadIniValue(std::string_view section, std::string_view key, const std::filesystem::path& file);

// Writes the value as it stands (also ""); nullopt deletes the key. Atomic, file mode 0600.
// The answer says why the file could not be written (nothing: written, or nothing to change);
// a file that cannot be read, or a link in its place, is left as it is.
std::error_code WriteIniValue(std::string_view section, std::string_view key,
                              std::optional<std::string_view> value, const std::filesystem::path& file);

std::error_code DeleteIniSection(std::string_view section, const std::filesystem::path& file);

// Key names of a section counted as the platform did: cut where a 1 999-byte list ends.
int CountSectionKeys(std::string_view section, const std::filesystem::path& file);

} // namespace kv
