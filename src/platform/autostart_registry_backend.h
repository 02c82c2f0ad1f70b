#pragma once
// Starting with the session is recorded where the program has always recorded it: the value
// kRunValue under kRunKey. On a freedesktop session that value lives in the session's
// autostart folder instead of the registry store: it exists exactly when the autostart file
// exists, and its text is the program the file starts. Every other key and value goes to the
// store beneath unchanged.
#include "support/registry_backend.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::string_view kRunKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN";
inline constexpr std::string_view kRunValue = "Kestrelyn Vormaplex";

// <config home>/autostart/kestrelyn-vormaplex.desktop; empty without a config home.
std::filesystem::path DefaultAutostartFile();

class AutostartRegistryBackend final : public RegistryBackend {
public:
    // An empty autostartFile: the value can be neither read nor written.
    AutostartRegistryBackend(RegistryBackend& store, std::filesystem::path autostartFile);

    std::int32_t CreateKey(RegKey parent, const std::string& subKey, RegKey& result) override;
    std::int32_t OpenKey(RegKey parent, const std::string& subKey, RegKey& result) override;
    std::int32_t OpenKeyEx(RegKey parent, const std::string& subKey, std::uint32_t access,
                           RegKey& result) override;
    std::int32_t CloseKey(RegKey key) override;
    std::int32_t DeleteKey(RegKey key, const std::string& subKey) override;
    std::int32_t EnumKey(RegKey key, std::uint32_t index, std::string& name) override;
    std::int32_t EnumValue(RegKey key, std::uint32_t index, std::string& name, std::uint32_t& type,
                           std::string& data) override;
    std::int32_t QueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                            std::string* data) override;
    std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type,
                          const std::string& data) override;
    std::int32_t DeleteValue(RegKey key, const std::string& name) override;

private:
    struct OpenedPath {
        std::string path; // upper-cased, single backslashes, root first ("2147483650\SOFTWARE\...")
        bool canChange = false;
    };

    // The opened key's path; false for a key this wrapper did not see opened.
    bool pathOf(RegKey key, std::string& path) const;
    std::int32_t open(const std::function<std::int32_t()>& openInStore, RegKey parent,
                      const std::string& subKey, bool canChange, RegKey& result);
    std::int32_t remember(std::int32_t answer, RegKey parent, const std::string& subKey, bool canChange,
                          RegKey result);
    // The key is the Run key and the name the routed value's.
    bool routed(RegKey key, const std::string& name) const;
    bool isRunKey(RegKey parent, const std::string& subKey) const;
    std::optional<std::filesystem::path> autostartProgram() const;

    RegistryBackend& store_;
    std::filesystem::path autostartFile_;
    std::string runKeyPath_;
    std::map<RegKey, OpenedPath> opened_;
};

} // namespace kv
