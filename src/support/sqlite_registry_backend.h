#pragma once
// The registry kept in SQLite: one database file per root key in one directory.
// The performance-data and dynamic-data roots have no store and never open.
// Keys opened through one instance are tracked by handle until closed.
#include "support/registry_backend.h"
#include "support/registry_hive.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace kv {

// $XDG_CONFIG_HOME/kestrelyn-vormaplex/registry, or ~/.config/… when that is unset.
std::filesystem::path DefaultRegistryDirectory();

class SqliteRegistryBackend final : public RegistryBackend {
public:
    explicit SqliteRegistryBackend(std::filesystem::path directory);

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
    struct OpenedKey {
        RegistryHive* hive = nullptr;
        std::int64_t id = RegistryHive::kRootId;
        bool canSetValues = false;
        std::size_t depth = 0; // 0: a root key
    };

    RegistryHive* hiveFor(RegKey root);
    bool find(RegKey key, OpenedKey& opened);
    std::int32_t walk(const OpenedKey& from, const std::string& subKey, OpenedKey& to);
    RegKey remember(const OpenedKey& opened);

    std::filesystem::path directory_;
    std::map<RegKey, std::unique_ptr<RegistryHive>> hives_;
    std::map<RegKey, OpenedKey> opened_;
    RegKey nextHandle_ = 1;
};

} // namespace kv
