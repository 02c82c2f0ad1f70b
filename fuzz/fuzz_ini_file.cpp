// INI text from anywhere: parsing, lookups and edits must never crash and must
// agree with each other.
#include "fuzz_check.h"
#include "storage/ini_file.h"

#include <cstdint>
#include <string>
#include <string_view>

using kv::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kv::IniFile ini = kv::IniFile::parse(text);
    const std::string serialized = ini.serialize();
    Require(kv::IniFile::parse(serialized).serialize() == serialized);

    for (const std::string& section : ini.sectionNames()) {
        for (const std::string& key : ini.keyNames(section)) {
            Require(kv::FindIniValue(text, section, key) == ini.value(section, key));
            Require(kv::FindIniValue(serialized, section, key) == ini.value(section, key));
        }
    }

    // Edits with names and a value taken from the input itself.
    const std::size_t third = size / 3;
    const std::string section(text.substr(0, third));
    const std::string key(text.substr(third, third));
    const std::string value(text.substr(2 * third));
    ini.setValue(section, key, value);
    const kv::IniFile reread = kv::IniFile::parse(ini.serialize());
    if (reread.value(section, key)) {
        const std::string_view stored = *reread.value(section, key);
        Require(value.starts_with(stored));
    }
    ini.removeKey(section, key);
    ini.removeSection(section);
    (void)ini.serialize();
    return 0;
}
