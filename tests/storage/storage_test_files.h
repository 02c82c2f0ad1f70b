#pragma once
// Helpers shared by the storage tests: whole-file reads and writes.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace kv::test {

inline std::string FileText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileText(const std::filesystem::path& file, std::string_view text)
{
    std::ofstream(file, std::ios::binary) << text;
}

} // namespace kv::test
