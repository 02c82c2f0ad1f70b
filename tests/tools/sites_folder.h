#pragma once
// A throwaway sites folder with cipher keys set, and sites written into it as capture
// would write them.
#include "common/temp_dir.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

namespace kv::test {

class SitesFolder {
public:
    SitesFolder()
    {
        SetCipherKeys({MachineKey("123456789"), ValueKey("123456789", "ABCDEFGHIJKLMNOPQRSTUVWXY")});
    }

    const std::filesystem::path& path() const { return dir_.path(); }

    // A site with a friendly name and the given "Main" values (key, value).
    std::filesystem::path
    site(const std::filesystem::path& relative,
         std::initializer_list<std::pair<std::string_view, std::string_view>> values) const
    {
        const std::filesystem::path file = dir_.path() / relative;
        std::filesystem::create_directories(file.parent_path());
        for (const auto& [key, value] : values)
            WriteSecureValue(kMainSection, key, value, file);
        return file;
    }
    // A site with a name, login and password.
    std::filesystem::path login(const std::filesystem::path& relative, std::string_view name,
                                std::string_view login, std::string_view password) const
    {
        return site(relative, {{SITEFRIENDLYNAME, name}, {FORMLOGINVALUE, login}, {FORMPASSVALUE, password}});
    }
    // A site whose values were written under another profile's key.
    std::filesystem::path foreign(const std::filesystem::path& relative, std::string_view name) const
    {
        const CipherKeys ours = CurrentCipherKeys();
        SetCipherKeys({"other machine", "another profile's value key"});
        const auto file = login(relative, name, "someone", "Secret#99");
        SetCipherKeys(ours);
        return file;
    }

private:
    TempDir dir_;
};

inline std::string FileText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileText(const std::filesystem::path& file, std::string_view text)
{
    std::ofstream(file, std::ios::binary) << text;
}

inline std::string Secure(const std::filesystem::path& file, std::string_view key,
                          std::string_view section = kMainSection)
{
    auto value = ReadSecureValue(section, key, file);
    return value ? *value : "<damaged>";
}

} // namespace kv::test
