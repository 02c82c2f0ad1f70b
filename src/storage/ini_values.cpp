#include "storage/ini_values.h"

#include "storage/ini_file.h"

namespace kv {

namespace {

// Key listings were fetched into a buffer of this many characters: NUL-separated
// names and a closing NUL; a name that no longer fits is cut short.
constexpr std::size_t kKeyListCapacity = 1'999;

// Changes the file when it can be read; a file that cannot be read is never
// replaced. Write failures are not reported, as no caller can act on them.
template <typename Change> void Rewrite(const std::filesystem::path& file, Change change)
{
    auto ini = IniFile::load(file);
    if (ini && change(*ini))
        (void)ini->save(file);
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

void WriteIniValue(std::string_view section, std::string_view key, std::optional<std::string_view> value,
                   const std::filesystem::path& file)
{
    Rewrite(file, [&](IniFile& ini) {
        if (!value)
            return ini.removeKey(section, key);
        ini.setValue(section, key, *value);
        return true;
    });
}

void DeleteIniSection(std::string_view section, const std::filesystem::path& file)
{
    Rewrite(file, [section](IniFile& ini) { return ini.removeSection(section); });
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
            // The last name is cut to fit before two NULs; an empty cut ends the list.
            if (used + 2 < kKeyListCapacity)
                ++count;
            break;
        }
        used += name.size() + 1;
        ++count;
    }
    return count;
}

} // namespace kv
