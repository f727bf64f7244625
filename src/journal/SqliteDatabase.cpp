#include "SqliteDatabase.h"

// own
#include "SqliteStatement.h"

// SQLite
#include <sqlite3.h>

// std
#include <cstdio>

namespace tonarika {

SqliteDatabase::SqliteDatabase(const std::string& uri, int flags)
{
    const int code = sqlite3_open_v2(uri.c_str(), &m_db, flags | SQLITE_OPEN_URI, nullptr);
    if (code != SQLITE_OK) {
        const std::string what = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw SqliteError(code, what);
    }
    sqlite3_extended_result_codes(m_db, 1);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close(m_db);
}

void SqliteDatabase::check(int code) const
{
    const int primary = code & 0xFF;
    if (primary != SQLITE_OK && primary != SQLITE_ROW && primary != SQLITE_DONE)
        throw SqliteError(code, sqlite3_errmsg(m_db));
}

void SqliteDatabase::execute(const char* sql)
{
    check(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr));
}

std::int64_t SqliteDatabase::integer(const char* sql)
{
    SqliteStatement statement(*this, sql);
    return statement.step() ? statement.integer(0) : 0;
}

std::string SqliteDatabase::text(const char* sql)
{
    SqliteStatement statement(*this, sql);
    return statement.step() ? statement.text(0) : std::string();
}

std::string fileUri(const std::filesystem::path& path)
{
    // Everything but the unreserved characters and "/" is escaped, byte by byte.
    std::string uri = "file:";
    for (const unsigned char c : path.native()) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' || c == '-'
            || c == '_' || c == '.' || c == '~') {
            uri += char(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri;
}

}  // namespace tonarika
