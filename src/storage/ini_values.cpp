#include "storage/ini_values.h"

#include "storage/ini_file.h"

namespace kv {

namespace {

// Key listings were fetched into a buffer of this many characters: NUL-separated
// names and a closing NUL; a name that no longer fits is cut short.
constexpr std::size_t kKeyListCapacity = 1'999;

// Changes the file when it can be read; a file that cannot be read is never replaced.
template <typename Change> std::error_code Rewrite(const std::filesystem::path& file, Change change)
{
    auto ini = IniFile::load(file);
    if (!ini)
        return ini.error();
    if (!change(*ini))
        return {};
    const auto saved = ini->save(file);
    return saved ? std::error_code() : saved.error();
}

} // namespace

std::string ReadIniValue(std::string_view section, std::string_view key, const std::filesystem::path& file)
{
    const auto text = ReadIniText(file);
    if (!text)
        return {};
    const auto value = FindIniValue(*text, section, key);
    return value ? std::string(value->substr(0, kMaxIniValueLength)) : std::string();
}

std::error_code WriteIniValue(std::string_view section, std::string_view key,
                              std::optional<std::string_view> value, const std::filesystem::path& file)
{
    return Rewrite(file, [&](IniFile& ini) {
        if (!value)
            return ini.removeKey(section, key);
        ini.setValue(section, key, *value);
        return true;
    });
}

std::error_code DeleteIniSection(std::string_view section, const std::filesystem::path& file)
{
    return Rewrite(file, [section](IniFile& ini) { return ini.removeSection(section); });
}

int CountSectionKeys(std::string_view section, const std::filesystem::path& file)
{
    const auto ini = IniFile::load(file);
    if (!ini)
        return 0;
    int count = 0;
    std::size_t used = 1; // the list's closing NUL
    for (const std::string& name : ini->keyNames(section)) {
        if (used + name.size() + 1 > kKeyListCapacity) {
            // The last name is cut to fit before two NULs; it counts while one character of it is left.
            if (used + 2 <= kKeyListCapacity)
                ++count;
            break;
        }
        used += name.size() + 1;
        ++count;
    }
    return count;
}

} // namespace kv
