#pragma once
// One SQLite store of the browser's profile (History, Cookies, ...), used only while no
// browser has it open: an existing file is opened, never created, and a store that is
// locked, damaged or missing simply yields nothing. What is deleted is overwritten on disk.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class ProfileDatabase {
public:
    enum class Access { Read, Write };

    ProfileDatabase(const std::filesystem::path& file, Access access);
    ~ProfileDatabase();
    ProfileDatabase(const ProfileDatabase&) = delete;
    ProfileDatabase& operator=(const ProfileDatabase&) = delete;

    bool isOpen() const { return db_ != nullptr; }
    bool hasTable(std::string_view name);

    // Runs a query and hands every row to row; false when the query could not run to its end.
    bool forEachRow(std::string_view sql, const std::function<void(sqlite3_stmt*)>& row);
    // Runs a statement once for every id (bound to its one parameter).
    bool runForEach(std::string_view sql, const std::vector<std::int64_t>& ids);
    bool run(std::string_view sql);
    // All of work or nothing of it: work returns false to give up.
    bool inTransaction(const std::function<bool()>& work);

    static std::string columnText(sqlite3_stmt* row, int column);

private:
    sqlite3* db_ = nullptr;
};

} // namespace kv
