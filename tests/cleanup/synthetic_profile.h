#pragma once
// A browser profile written by the test itself: History, Cookies, Top Sites and Favicons with
// the tables and columns the cleanup touches (plus ones it must leave alone), and a disk cache
// in the simple layout, with entry files whose headers carry their keys.
#include "common/temp_dir.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace kv::test {

class SyntheticProfile {
public:
    SyntheticProfile()
    {
        std::filesystem::create_directories(cacheDir() / "index-dir");
        sql(history(),
            "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
            "INSERT INTO meta VALUES('version','70');"
            "CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT, url LONGVARCHAR, title LONGVARCHAR);"
            "CREATE TABLE visits(id INTEGER PRIMARY KEY, url INTEGER NOT NULL, visit_time INTEGER);"
            "CREATE TABLE visit_source(id INTEGER PRIMARY KEY, source INTEGER NOT NULL);"
            "CREATE TABLE keyword_search_terms(keyword_id INTEGER, url_id INTEGER, term LONGVARCHAR);"
            "CREATE TABLE segments(id INTEGER PRIMARY KEY, name VARCHAR, url_id INTEGER);"
            "CREATE TABLE visited_links(id INTEGER PRIMARY KEY, link_url_id INTEGER, top_level_url "
            "LONGVARCHAR);"
            "CREATE TABLE downloads(id INTEGER PRIMARY KEY, target_path LONGVARCHAR);"
            "INSERT INTO downloads VALUES(1, '/home/me/file.pdf');");
        sql(cookies(),
            "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
            "CREATE TABLE cookies(host_key TEXT NOT NULL, name TEXT NOT NULL, value TEXT NOT NULL, "
            "path TEXT NOT NULL, is_secure INTEGER NOT NULL);");
        sql(topSites(), "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
                        "CREATE TABLE top_sites(url LONGVARCHAR, url_rank INTEGER);");
        sql(favicons(),
            "CREATE TABLE icon_mapping(id INTEGER PRIMARY KEY, page_url LONGVARCHAR, icon_id INTEGER);"
            "CREATE TABLE favicons(id INTEGER PRIMARY KEY, url LONGVARCHAR);"
            "CREATE TABLE favicon_bitmaps(id INTEGER PRIMARY KEY, icon_id INTEGER);");
        write(cacheDir() / "index", std::string(24, '\0'));
        write(cacheDir() / "index-dir" / "the-real-index", "index");
    }

    const std::filesystem::path& root() const { return dir_.path(); }
    std::filesystem::path defaultDir() const { return root() / "Default"; }
    std::filesystem::path history() const { return defaultDir() / "History"; }
    std::filesystem::path cookies() const { return defaultDir() / "Cookies"; }
    std::filesystem::path topSites() const { return defaultDir() / "Top Sites"; }
    std::filesystem::path favicons() const { return defaultDir() / "Favicons"; }
    std::filesystem::path cacheDir() const { return defaultDir() / "Cache" / "Cache_Data"; }

    // A visited address with two visits and what the browser derives from it.
    void visit(const std::string& url)
    {
        sql(history(),
            "INSERT INTO urls(url, title) VALUES('" + url +
                "', 'page');"
                "INSERT INTO visits(url, visit_time) VALUES(last_insert_rowid(), 1);"
                "INSERT INTO visits(url, visit_time) SELECT url, 2 FROM visits ORDER BY id DESC LIMIT 1;"
                "INSERT INTO visit_source VALUES(last_insert_rowid(), 1);"
                "INSERT INTO segments(name, url_id) SELECT url, id FROM urls ORDER BY id DESC LIMIT 1;"
                "INSERT INTO visited_links(link_url_id, top_level_url) SELECT id, url FROM urls ORDER BY id "
                "DESC LIMIT 1;");
        sql(topSites(), "INSERT INTO top_sites VALUES('" + url + "', 0);");
        sql(favicons(), "INSERT INTO icon_mapping(page_url, icon_id) VALUES('" + url +
                            "', 1);"
                            "INSERT INTO favicons(url) VALUES('" +
                            url + "/favicon.ico');");
    }
    void cookie(const std::string& host, const std::string& name, bool secure = false)
    {
        sql(cookies(), "INSERT INTO cookies VALUES('" + host + "', '" + name + "', 'v', '/', " +
                           (secure ? "1" : "0") + ");");
    }
    // An entry file "<hash>_0" whose header holds key; more streams when asked.
    void cacheEntry(const std::string& hash, const std::string& key, bool moreStreams = false)
    {
        std::string header(24, '\0');
        const std::uint64_t magic = 0xfcfb6d1ba7725c30ULL;
        const std::uint32_t version = 5;
        const auto length = static_cast<std::uint32_t>(key.size());
        std::memcpy(header.data(), &magic, 8);
        std::memcpy(header.data() + 8, &version, 4);
        std::memcpy(header.data() + 12, &length, 4);
        write(cacheDir() / (hash + "_0"), header + key + "cached body");
        if (moreStreams) {
            write(cacheDir() / (hash + "_1"), "stream two");
            write(cacheDir() / (hash + "_s"), "sparse");
        }
    }

    static void write(const std::filesystem::path& file, const std::string& bytes)
    {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string read(const std::filesystem::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void sql(const std::filesystem::path& file, const std::string& statements)
    {
        std::filesystem::create_directories(file.parent_path());
        sqlite3* db = nullptr;
        char* error = nullptr;
        // Written for the test only: no need to wait for the disk.
        const std::string unsynced = "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY; " + statements;
        if (sqlite3_open(file.c_str(), &db) != SQLITE_OK ||
            sqlite3_exec(db, unsynced.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string message = error ? error : sqlite3_errmsg(db);
            sqlite3_free(error);
            sqlite3_close(db);
            throw std::runtime_error("test profile: " + message);
        }
        sqlite3_close(db);
    }
    static long long count(const std::filesystem::path& file, const std::string& table)
    {
        sqlite3* db = nullptr;
        sqlite3_stmt* statement = nullptr;
        long long rows = -1;
        if (sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
            sqlite3_prepare_v2(db, ("SELECT count(*) FROM " + table).c_str(), -1, &statement, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            rows = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return rows;
    }

private:
    TempDir dir_;
};

} // namespace kv::test
