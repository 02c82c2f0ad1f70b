#include "cleanup/chromium/profile_database.h"

#include <memory>

namespace kv {
namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement Prepare(sqlite3* db, std::string_view sql)
{
    sqlite3_stmt* statement = nullptr;
    if (!db ||
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK)
        return nullptr;
    return Statement(statement);
}

} // namespace

ProfileDatabase::ProfileDatabase(const std::filesystem::path& file, Access access)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(file, error)))
        return;
    const int flags = (access == Access::Write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) |
                      SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_PRIVATECACHE;
    if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    // A browser holding the store keeps it locked: give up at once instead of waiting.
    sqlite3_busy_timeout(db_, 0);
    sqlite3_exec(db_, "PRAGMA secure_delete=ON", nullptr, nullptr, nullptr);
}

ProfileDatabase::~ProfileDatabase()
{
    sqlite3_close(db_);
}

bool ProfileDatabase::hasTable(std::string_view name)
{
    Statement statement = Prepare(db_, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?");
    if (!statement)
        return false;
    sqlite3_bind_text(statement.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    return sqlite3_step(statement.get()) == SQLITE_ROW;
}

bool ProfileDatabase::forEachRow(std::string_view sql, const std::function<void(sqlite3_stmt*)>& row)
{
    Statement statement = Prepare(db_, sql);
    if (!statement)
        return false;
    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW)
        row(statement.get());
    return step == SQLITE_DONE;
}

bool ProfileDatabase::runForEach(std::string_view sql, const std::vector<std::int64_t>& ids)
{
    Statement statement = Prepare(db_, sql);
    if (!statement)
        return false;
    for (std::int64_t id : ids) {
        sqlite3_bind_int64(statement.get(), 1, id);
        if (sqlite3_step(statement.get()) != SQLITE_DONE)
            return false;
        sqlite3_reset(statement.get());
    }
    return true;
}

bool ProfileDatabase::run(std::string_view sql)
{
    Statement statement = Prepare(db_, sql);
    return statement && sqlite3_step(statement.get()) == SQLITE_DONE;
}

bool ProfileDatabase::inTransaction(const std::function<bool()>& work)
{
    if (!run("BEGIN IMMEDIATE"))
        return false;
    if (work() && run("COMMIT"))
        return true;
    run("ROLLBACK");
    return false;
}

std::string ProfileDatabase::columnText(sqlite3_stmt* row, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(row, column)))
                : std::string();
}

} // namespace kv
