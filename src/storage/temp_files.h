#pragma once
// The temp files this program leaves beside the files it replaces while it writes them.
// Their names are short, so that a file whose name is as long as the file system allows
// can still be replaced; hidden, and never holding ".QVR", so that no walk lists one.
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

// A site file being written by capture before it is moved into its place.
inline constexpr std::string_view kPartialSiteFileName = ".site-being-saved";

// folder/".kv-XXXXXX", a template for mkstemp.
std::string TempFileTemplate(const std::filesystem::path& folder);

// Names of ours: the template's, and those of earlier versions (the replaced file's own
// name behind a "." and before six random characters).
bool IsOwnTempFileName(std::string_view name);

// A write that was cut short leaves its temp file. Removes the temp files of ours not
// changed for longer than maxAge in folder and every folder below it (links are not
// followed); one still being written is younger and stays.
void RemoveStaleTempFiles(const std::filesystem::path& folder, std::chrono::seconds maxAge);

} // namespace kv
