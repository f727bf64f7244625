#pragma once

// std
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
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
    int primary() const { return m_code & 0xFF; }
    // The file is no database, or its pages are damaged.
    bool damaged() const;

private:
    int m_code;
};

// One connection to an SQLite database, closed with the object. Not for two threads.
// Every connection is made for a file of unknown origin: defensive mode, no function of
// the schema trusted, and neither triggers nor views run, whatever the file holds.
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

    // Bounds the work: every statement run after beginWork() fails with SQLITE_INTERRUPT
    // once `limit` has passed since, or as soon as `*cancel` turns true (from any thread).
    void limitWork(std::chrono::milliseconds limit, const std::atomic<bool>* cancel = nullptr);
    void beginWork();
    // Whether the last interruption came from the time limit, not from a cancel.
    bool timedOut() const { return m_timedOut; }

    sqlite3* handle() const { return m_db; }
    // Throws SqliteError for a result code that is no success.
    void check(int code) const;

private:
    static int onProgress(void* database);

    sqlite3* m_db = nullptr;
    std::chrono::milliseconds m_limit{0};
    std::chrono::steady_clock::time_point m_deadline = std::chrono::steady_clock::time_point::max();
    const std::atomic<bool>* m_cancel = nullptr;
    bool m_timedOut = false;
};

// A "file:" URI for a path, whatever bytes its name holds.
std::string fileUri(const std::filesystem::path& path);

// Why `path` may not be opened as a database without blocking or reading something that is
// no file (a FIFO, a device, a folder); nothing where it is a regular file or not there.
// Links are followed, as SQLite follows them.
std::optional<std::string> notARegularFile(const std::filesystem::path& path);

}  // namespace tonarika
