#pragma once

// std
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

struct sqlite3;

namespace tonarika {

// What SQLite said when a call failed, and its result code.
class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& what)
        : std::runtime_error(what)
        , m_code(code)
    {
    }
    int code() const { return m_code; }

private:
    int m_code;
};

// One connection to an SQLite database, closed with the object. Not for two threads.
class SqliteDatabase {
public:
    // Opens `uri` ("file:..." names and their parameters allowed) with SQLite's open
    // flags; throws SqliteError.
    SqliteDatabase(const std::string& uri, int flags);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Runs statements that return nothing wanted; throws SqliteError.
    void execute(const char* sql);
    // The first column of the first row a query gives, as an integer or as text.
    std::int64_t integer(const char* sql);
    std::string text(const char* sql);

    sqlite3* handle() const { return m_db; }
    // Throws SqliteError for a result code that is no success.
    void check(int code) const;

private:
    sqlite3* m_db = nullptr;
};

// A "file:" URI for a path, whatever bytes its name holds.
std::string fileUri(const std::filesystem::path& path);

}  // namespace tonarika
