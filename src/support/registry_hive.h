#pragma once
// One root key's tree kept in one SQLite database file. Keys are addressed by id
// (0 is the root itself); every answer is a registry answer code. Several processes
// may use the same file at once: opening it, and each write (one transaction), waits
// for the others instead of failing. The file and the folder it is made in are
// owner-only.
#include "support/registry_backend.h"

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kv {

class RegistryHive {
public:
    static constexpr std::int64_t kRootId = 0;

    // Never fails: a file that cannot be written is opened for reading only; a file
    // that is not there and cannot be made is an empty tree that refuses writes; a file
    // that is there but cannot be read (damaged, refused, held by another process for
    // longer than the wait) answers every lookup with a failure, never with "absent".
    explicit RegistryHive(const std::filesystem::path& file);
    ~RegistryHive();
    RegistryHive(const RegistryHive&) = delete;
    RegistryHive& operator=(const RegistryHive&) = delete;

    bool writable() const { return writable_; }

    std::int32_t FindSubKey(std::int64_t parent, const std::string& name, std::int64_t& id);
    // Creates the missing keys of the chain parent\names[0]\names[1]… in one transaction.
    std::int32_t CreateSubKeys(std::int64_t parent, const std::vector<std::string>& names, std::int64_t& id);
    std::int32_t CheckAlive(std::int64_t id);
    std::int32_t DeleteKey(std::int64_t id);
    std::int32_t SubKeyAt(std::int64_t key, std::uint32_t index, std::string& name);
    std::int32_t ValueAt(std::int64_t key, std::uint32_t index, std::string& name, std::uint32_t& type,
                         std::string& data);
    std::int32_t QueryValue(std::int64_t key, const std::string& name, std::uint32_t& type,
                            std::string* data);
    std::int32_t SetValue(std::int64_t key, const std::string& name, std::uint32_t type,
                          const std::string& data);
    std::int32_t DeleteValue(std::int64_t key, const std::string& name);

private:
    class Statement;
    class Transaction;

    // The first SQLite answer that was not OK; SQLITE_BUSY when another process kept
    // the file for longer than the wait.
    int open(const std::filesystem::path& file);
    int switchToWal();
    int prepareSchema();
    bool openReadOnly(const std::filesystem::path& file, bool immutable);
    void close();
    sqlite3_stmt* statement(const char* sql);
    std::int32_t failure() const;
    // What a lookup answers when there is no tree to look in.
    std::int32_t withoutTree(std::int32_t emptyAnswer) const
    {
        return unreadable_ ? kRegIoFailed : emptyAnswer;
    }

    sqlite3* db_ = nullptr;
    bool writable_ = false;
    bool hasTree_ = false;
    bool unreadable_ = false;
    std::map<const char*, sqlite3_stmt*> statements_;
};

} // namespace kv
