#include "support/registry_hive.h"

#include "support/registry_backend.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

namespace kv {

namespace {

constexpr int kBusyWaitMs = 10000;

constexpr const char* kSchema = "CREATE TABLE IF NOT EXISTS keys("
                                " id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER NOT NULL,"
                                " name TEXT NOT NULL, fold TEXT NOT NULL, UNIQUE(parent, fold));"
                                "CREATE TABLE IF NOT EXISTS key_values("
                                " id INTEGER PRIMARY KEY, key INTEGER NOT NULL, name TEXT NOT NULL,"
                                " fold TEXT NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL,"
                                " UNIQUE(key, fold));";

constexpr const char* kBegin = "BEGIN IMMEDIATE";
constexpr const char* kCommit = "COMMIT";
constexpr const char* kRollback = "ROLLBACK";
constexpr const char* kFindSubKey = "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2";
constexpr const char* kInsertKey = "INSERT INTO keys(parent, name, fold) VALUES(?1, ?2, ?3)";
constexpr const char* kKeyAlive = "SELECT 1 FROM keys WHERE id = ?1";
constexpr const char* kAnySubKey = "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1";
constexpr const char* kDeleteKeyValues = "DELETE FROM key_values WHERE key = ?1";
constexpr const char* kDeleteKey = "DELETE FROM keys WHERE id = ?1";
// The registry orders sub-keys by their upper-cased names.
constexpr const char* kSubKeyAt = "SELECT name FROM keys WHERE parent = ?1 ORDER BY fold LIMIT 1 OFFSET ?2";
constexpr const char* kValueAt =
    "SELECT name, type, data FROM key_values WHERE key = ?1 ORDER BY id LIMIT 1 OFFSET ?2";
constexpr const char* kQueryValue = "SELECT type, data FROM key_values WHERE key = ?1 AND fold = ?2";
// An overwritten value keeps its place and the spelling it was first written with.
constexpr const char* kSetValue =
    "INSERT INTO key_values(key, name, fold, type, data) VALUES(?1, ?2, ?3, ?4, ?5)"
    " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data";
constexpr const char* kDeleteValue = "DELETE FROM key_values WHERE key = ?1 AND fold = ?2";

bool IsBusy(int result)
{
    const int primary = result & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// A few steps answer "busy" at once instead of calling the busy handler: switching the
// journal mode, and reading a WAL that another process is still setting up or
// recovering. Those are tried again, for as long as the busy handler would wait.
template <typename Step> int RetryWhileBusy(Step step)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kBusyWaitMs);
    std::chrono::milliseconds pause(1);
    for (;;) {
        const int result = step();
        if (!IsBusy(result) || Clock::now() >= deadline)
            return result;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

// Registry contents are the user's own: a folder or file this program makes, or finds,
// loses every group and other permission. A deliberately read-only file stays read-only.
void DropGroupAndOtherAccess(const std::filesystem::path& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && !S_ISLNK(info.st_mode) && (info.st_mode & 077) != 0)
        ::chmod(path.c_str(), info.st_mode & 07700);
}

void MakeOwnerOnlyFolder(const std::filesystem::path& folder)
{
    std::filesystem::path level;
    for (const std::filesystem::path& part : folder) {
        level /= part;
        ::mkdir(level.c_str(), 0700);
    }
    DropGroupAndOtherAccess(folder);
}

// Made owner-only before SQLite opens it: SQLite gives its WAL and shared-memory files
// the database file's permissions.
void MakeOwnerOnlyFile(const std::filesystem::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    for (const char* suffix : {"", "-wal", "-shm"})
        DropGroupAndOtherAccess(file.string() + suffix);
}

std::string Fold(const std::string& name)
{
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return folded;
}

std::string UriFor(const std::filesystem::path& file, bool immutable)
{
    std::string uri = "file:";
    for (unsigned char c : file.string()) {
        if (c == '?' || c == '#' || c == '%' || c < 0x20) {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            uri += '%';
            uri += kDigits[c >> 4];
            uri += kDigits[c & 15];
        } else {
            uri += static_cast<char>(c);
        }
    }
    uri += "?mode=ro";
    if (immutable)
        uri += "&immutable=1";
    return uri;
}

} // namespace

class RegistryHive::Statement {
public:
    Statement(RegistryHive& hive, const char* sql) : stmt_(hive.statement(sql)) {}
    ~Statement()
    {
        if (stmt_) {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
        }
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ready() const { return stmt_ != nullptr; }
    // A statement that could not be prepared binds nothing and steps to an error.
    Statement& bind(int index, std::int64_t number)
    {
        if (stmt_)
            sqlite3_bind_int64(stmt_, index, number);
        return *this;
    }
    Statement& bind(int index, const std::string& text)
    {
        if (stmt_)
            sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bindBlob(int index, const std::string& bytes)
    {
        if (stmt_)
            sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        return *this;
    }
    int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE; }
    std::int64_t integer(int column) { return sqlite3_column_int64(stmt_, column); }
    std::string bytes(int column)
    {
        const void* data = sqlite3_column_blob(stmt_, column);
        const int size = sqlite3_column_bytes(stmt_, column);
        return data ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(size))
                    : std::string();
    }

private:
    sqlite3_stmt* stmt_;
};

// BEGIN IMMEDIATE takes the write lock at once, so a second writer waits in the busy
// handler instead of failing when it would upgrade a read lock.
class RegistryHive::Transaction {
public:
    explicit Transaction(RegistryHive& hive) : hive_(hive)
    {
        begun_ = Statement(hive_, kBegin).step() == SQLITE_DONE;
    }
    ~Transaction()
    {
        if (begun_ && !committed_)
            Statement(hive_, kRollback).step();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool begun() const { return begun_; }
    bool commit()
    {
        committed_ = Statement(hive_, kCommit).step() == SQLITE_DONE;
        return committed_;
    }

private:
    RegistryHive& hive_;
    bool begun_ = false;
    bool committed_ = false;
};

RegistryHive::RegistryHive(const std::filesystem::path& file)
{
    MakeOwnerOnlyFolder(file.parent_path());
    MakeOwnerOnlyFile(file);
    const int opened = open(file);
    if (opened == SQLITE_OK)
        return;
    // A file another process keeps busy can be written; it must not turn read-only.
    // A read-only hive in WAL mode may lack the shared-memory file that readers need
    // and cannot create it; then it is read as an unchanging snapshot.
    if (!IsBusy(opened) && (openReadOnly(file, false) || openReadOnly(file, true)))
        return;
    std::error_code ec;
    unreadable_ = std::filesystem::symlink_status(file, ec).type() != std::filesystem::file_type::not_found;
}

RegistryHive::~RegistryHive()
{
    close();
}

void RegistryHive::close()
{
    for (auto& [sql, stmt] : statements_)
        sqlite3_finalize(stmt);
    statements_.clear();
    sqlite3_close(db_);
    db_ = nullptr;
}

int RegistryHive::open(const std::filesystem::path& file)
{
    int result = sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (result == SQLITE_OK && sqlite3_db_readonly(db_, "main") != 0)
        result = SQLITE_READONLY;
    if (result == SQLITE_OK) {
        sqlite3_busy_timeout(db_, kBusyWaitMs);
        result = RetryWhileBusy([this] { return switchToWal(); });
    }
    // NORMAL syncs at checkpoints only, which keeps every commit intact through a crash
    // of the program and may lose only the latest commits on a power cut.
    if (result == SQLITE_OK)
        result = sqlite3_exec(db_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    if (result == SQLITE_OK)
        result = RetryWhileBusy([this] { return prepareSchema(); });
    if (result == SQLITE_OK) {
        writable_ = true;
        hasTree_ = true;
        return SQLITE_OK;
    }
    close();
    return result;
}

// WAL lets readers go on while another process writes. A file system that cannot share
// the WAL index answers with the old mode; the rollback journal then serves.
int RegistryHive::switchToWal()
{
    sqlite3_stmt* stmt = nullptr;
    int result = sqlite3_prepare_v2(db_, "PRAGMA journal_mode=WAL", -1, &stmt, nullptr);
    if (result == SQLITE_OK) {
        result = sqlite3_step(stmt);
        result = result == SQLITE_ROW || result == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db_);
    }
    sqlite3_finalize(stmt);
    return result;
}

bool RegistryHive::openReadOnly(const std::filesystem::path& file, bool immutable)
{
    if (sqlite3_open_v2(UriFor(file, immutable).c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                        nullptr) == SQLITE_OK &&
        sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db_, kBusyWaitMs);
        hasTree_ = statement(kKeyAlive) != nullptr && statement(kQueryValue) != nullptr;
        return true;
    }
    close();
    return false;
}

int RegistryHive::prepareSchema()
{
    // Creating the tables inside a write transaction also proves the file can be written.
    Transaction transaction(*this);
    if (!transaction.begun())
        return sqlite3_errcode(db_);
    if (const int created = sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr); created != SQLITE_OK)
        return created;
    return transaction.commit() ? SQLITE_OK : sqlite3_errcode(db_);
}

sqlite3_stmt* RegistryHive::statement(const char* sql)
{
    if (!db_)
        return nullptr;
    if (auto found = statements_.find(sql); found != statements_.end())
        return found->second;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    statements_.emplace(sql, stmt);
    return stmt;
}

std::int32_t RegistryHive::failure() const
{
    switch (db_ ? sqlite3_errcode(db_) : SQLITE_CANTOPEN) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
        return kRegAccessDenied;
    default:
        return kRegIoFailed;
    }
}

std::int32_t RegistryHive::FindSubKey(std::int64_t parent, const std::string& name, std::int64_t& id)
{
    Statement find(*this, kFindSubKey);
    if (!find.ready())
        return hasTree_ ? failure() : withoutTree(kRegFileNotFound);
    switch (find.bind(1, parent).bind(2, Fold(name)).step()) {
    case SQLITE_ROW:
        id = find.integer(0);
        return kRegSuccess;
    case SQLITE_DONE:
        return kRegFileNotFound;
    default:
        return failure();
    }
}

std::int32_t RegistryHive::CreateSubKeys(std::int64_t parent, const std::vector<std::string>& names,
                                         std::int64_t& id)
{
    if (!writable_) {
        // Opening what already exists needs no write.
        id = parent;
        for (const std::string& name : names)
            if (FindSubKey(id, name, id) != kRegSuccess)
                return kRegAccessDenied;
        return CheckAlive(id);
    }
    Transaction transaction(*this);
    if (!transaction.begun())
        return failure();
    if (std::int32_t alive = CheckAlive(parent); alive != kRegSuccess)
        return alive;
    id = parent;
    for (const std::string& name : names) {
        std::int32_t found = FindSubKey(id, name, id);
        if (found == kRegFileNotFound) {
            Statement insert(*this, kInsertKey);
            if (!insert.ready() || insert.bind(1, id).bind(2, name).bind(3, Fold(name)).step() != SQLITE_DONE)
                return failure();
            id = sqlite3_last_insert_rowid(db_);
        } else if (found != kRegSuccess) {
            return found;
        }
    }
    return transaction.commit() ? kRegSuccess : failure();
}

std::int32_t RegistryHive::CheckAlive(std::int64_t id)
{
    if (id == kRootId)
        return kRegSuccess;
    Statement alive(*this, kKeyAlive);
    if (!alive.ready())
        return hasTree_ ? failure() : withoutTree(kRegKeyDeleted);
    switch (alive.bind(1, id).step()) {
    case SQLITE_ROW:
        return kRegSuccess;
    case SQLITE_DONE:
        return kRegKeyDeleted;
    default:
        return failure();
    }
}

std::int32_t RegistryHive::DeleteKey(std::int64_t id)
{
    if (id == kRootId || !writable_)
        return kRegAccessDenied;
    Transaction transaction(*this);
    if (!transaction.begun())
        return failure();
    if (std::int32_t alive = CheckAlive(id); alive != kRegSuccess)
        return alive;
    {
        Statement anySubKey(*this, kAnySubKey);
        switch (anySubKey.bind(1, id).step()) {
        case SQLITE_ROW:
            return kRegAccessDenied;
        case SQLITE_DONE:
            break;
        default:
            return failure();
        }
    }
    Statement values(*this, kDeleteKeyValues);
    Statement key(*this, kDeleteKey);
    if (values.bind(1, id).step() != SQLITE_DONE || key.bind(1, id).step() != SQLITE_DONE)
        return failure();
    return transaction.commit() ? kRegSuccess : failure();
}

std::int32_t RegistryHive::SubKeyAt(std::int64_t key, std::uint32_t index, std::string& name)
{
    if (!hasTree_)
        return withoutTree(kRegNoMoreItems);
    if (std::int32_t alive = CheckAlive(key); alive != kRegSuccess)
        return alive;
    Statement at(*this, kSubKeyAt);
    switch (at.bind(1, key).bind(2, static_cast<std::int64_t>(index)).step()) {
    case SQLITE_ROW:
        name = at.bytes(0);
        return kRegSuccess;
    case SQLITE_DONE:
        return kRegNoMoreItems;
    default:
        return failure();
    }
}

std::int32_t RegistryHive::ValueAt(std::int64_t key, std::uint32_t index, std::string& name,
                                   std::uint32_t& type, std::string& data)
{
    if (!hasTree_)
        return withoutTree(kRegNoMoreItems);
    if (std::int32_t alive = CheckAlive(key); alive != kRegSuccess)
        return alive;
    Statement at(*this, kValueAt);
    switch (at.bind(1, key).bind(2, static_cast<std::int64_t>(index)).step()) {
    case SQLITE_ROW:
        name = at.bytes(0);
        type = static_cast<std::uint32_t>(at.integer(1));
        data = at.bytes(2);
        return kRegSuccess;
    case SQLITE_DONE:
        return kRegNoMoreItems;
    default:
        return failure();
    }
}

std::int32_t RegistryHive::QueryValue(std::int64_t key, const std::string& name, std::uint32_t& type,
                                      std::string* data)
{
    if (!hasTree_)
        return withoutTree(kRegFileNotFound);
    if (std::int32_t alive = CheckAlive(key); alive != kRegSuccess)
        return alive;
    Statement query(*this, kQueryValue);
    switch (query.bind(1, key).bind(2, Fold(name)).step()) {
    case SQLITE_ROW:
        type = static_cast<std::uint32_t>(query.integer(0));
        if (data)
            *data = query.bytes(1);
        return kRegSuccess;
    case SQLITE_DONE:
        return kRegFileNotFound;
    default:
        return failure();
    }
}

std::int32_t RegistryHive::SetValue(std::int64_t key, const std::string& name, std::uint32_t type,
                                    const std::string& data)
{
    if (!writable_)
        return kRegAccessDenied;
    if (data.size() > static_cast<std::size_t>(INT_MAX))
        return kRegInvalidParameter;
    Transaction transaction(*this);
    if (!transaction.begun())
        return failure();
    if (std::int32_t alive = CheckAlive(key); alive != kRegSuccess)
        return alive;
    Statement set(*this, kSetValue);
    if (set.bind(1, key)
            .bind(2, name)
            .bind(3, Fold(name))
            .bind(4, std::int64_t{type})
            .bindBlob(5, data)
            .step() != SQLITE_DONE)
        return failure();
    return transaction.commit() ? kRegSuccess : failure();
}

std::int32_t RegistryHive::DeleteValue(std::int64_t key, const std::string& name)
{
    if (!writable_)
        return kRegAccessDenied;
    Transaction transaction(*this);
    if (!transaction.begun())
        return failure();
    if (std::int32_t alive = CheckAlive(key); alive != kRegSuccess)
        return alive;
    Statement erase(*this, kDeleteValue);
    if (erase.bind(1, key).bind(2, Fold(name)).step() != SQLITE_DONE)
        return failure();
    if (sqlite3_changes(db_) == 0)
        return kRegFileNotFound;
    return transaction.commit() ? kRegSuccess : failure();
}

} // namespace kv
