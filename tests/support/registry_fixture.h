#pragma once
// A registry kept in a fresh temp directory, reached through clsRegAccess.
#include "common/temp_dir.h"
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"

#include <memory>

namespace kv::test {

class TempRegistry {
public:
    TempRegistry() : backend_(std::make_unique<SqliteRegistryBackend>(dir_.path())), registry_(*backend_) {}

    clsRegAccess& registry() { return registry_; }
    const std::filesystem::path& directory() const { return dir_.path(); }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return dir_ / name; }

private:
    TempDir dir_;
    std::unique_ptr<SqliteRegistryBackend> backend_;
    clsRegAccess registry_;
};

} // namespace kv::test
