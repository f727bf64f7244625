#include "SqliteDatabase.h"

// own
#include "SqliteStatement.h"

// SQLite
#include <sqlite3.h>

// system
#include <sys/stat.h>

// std
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tonarika {

namespace {

// How many virtual machine steps between two looks at the clock: well under a millisecond.
constexpr int kProgressSteps = 1000;

}  // namespace

bool SqliteError::damaged() const
{
    return primary() == SQLITE_CORRUPT || primary() == SQLITE_NOTADB;
}

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
    // SQLite's own advice for files of unknown origin: no writes to the schema or to
    // shadow tables by SQL, no function or virtual table the schema names run with this
    // program's rights, and, beyond that advice, no trigger and no view at all: the
    // journal has none, and a file that brings one (an endless one) runs none.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_progress_handler(m_db, kProgressSteps, &SqliteDatabase::onProgress, this);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close(m_db);
}

void SqliteDatabase::limitWork(std::chrono::milliseconds limit, const std::atomic<bool>* cancel)
{
    m_limit = limit;
    m_cancel = cancel;
    beginWork();
}

void SqliteDatabase::beginWork()
{
    m_timedOut = false;
    m_deadline = m_limit.count() > 0 ? std::chrono::steady_clock::now() + m_limit
                                     : std::chrono::steady_clock::time_point::max();
}

int SqliteDatabase::onProgress(void* database)
{
    auto& self = *static_cast<SqliteDatabase*>(database);
    if (self.m_cancel && self.m_cancel->load(std::memory_order_relaxed))
        return 1;
    if (std::chrono::steady_clock::now() < self.m_deadline)
        return 0;
    self.m_timedOut = true;
    return 1;
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
    // Everything but the unreserved characters and "/" is escaped, byte by byte: "#",
    // "?" and "%" too, which would otherwise end the path or begin an escape.
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

std::optional<std::string> notARegularFile(const std::filesystem::path& path)
{
    // stat() never opens the file, so a FIFO cannot keep it waiting.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return errno == ENOENT ? std::nullopt : std::optional<std::string>(std::strerror(errno));
    if (S_ISREG(status.st_mode))
        return std::nullopt;
    if (S_ISDIR(status.st_mode))
        return "it is a folder";
    if (S_ISFIFO(status.st_mode))
        return "it is a FIFO";
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return "it is a device";
    if (S_ISSOCK(status.st_mode))
        return "it is a socket";
    return "it is no regular file";
}

}  // namespace tonarika
