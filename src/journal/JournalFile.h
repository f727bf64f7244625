#pragma once

// own
#include "JournalTeller.h"

// std
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace tonarika {

class SqliteDatabase;

// How long the journal's writer waits, and for what.
struct JournalTiming {
    std::chrono::milliseconds busyTimeout{2000};     // for another program's lock, in one write
    std::chrono::milliseconds statementLimit{1000};  // for one statement, before it is given up
    std::chrono::milliseconds retryPause{1000};      // before what could not be written is tried again
    std::size_t queueLimit = 100'000;                // trials held while the journal takes none
};

// The journal's file, opened as a file of unknown origin: only a regular file, never
// through a link; its header and schema read at every opening, its pages checked where
// this game did not leave it as it is (noted beside it as it closes); one that is damaged
// or another program's moved aside with its -wal and -shm, and a new one begun; one of an
// earlier version taken up once, in one transaction. Used by one thread.
class JournalFile {
public:
    enum class Opened {
        Open,   // open, whole, of this program's version
        Retry,  // not now: a lock, no folder yet, one that cannot be moved aside
        Newer,  // of a newer version: never written
    };
    JournalFile(std::filesystem::path file, const JournalTiming& timing, const std::atomic<bool>& cancelled,
                JournalTeller& teller);
    ~JournalFile();
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    const std::filesystem::path& path() const { return m_file; }
    Opened open();
    // The open connection, or none.
    SqliteDatabase* db() { return m_db.get(); }
    // Drops the connection: the next open() opens anew.
    void drop();
    // Moves the open file aside as damaged, for what `detail` says.
    void setAsideDamaged(const std::string& detail) { setAside(Aside::Damaged, detail); }
    // Closes it, and where it was open and whole, notes the file as this game leaves it.
    void close();

private:
    enum class Aside { Damaged, Foreign, Orphaned };
    // What PRAGMA quick_check finds wrong with the file's pages, told as its first problem
    // and how many more; nothing where only rows break rules, which the reader leaves out.
    std::optional<std::string> damageOf(SqliteDatabase& db);
    // Brings the schema up to this program's in one transaction; false where another
    // program's schema came meanwhile.
    bool migrate();
    // The journal file and its WAL as they are now, and as this game last left them.
    std::string stampNow() const;
    std::string readStamp() const;
    // Moves the file and its -wal and -shm aside as "<file>.<why>-YYYYMMDD-HHMMSS"; false
    // where it could not be moved.
    bool setAside(Aside why, const std::string& detail);

    static int onBusy(void* file, int attempts);

    std::filesystem::path m_file;
    const JournalTiming& m_timing;
    const std::atomic<bool>& m_cancelled;
    JournalTeller& m_teller;
    std::unique_ptr<SqliteDatabase> m_db;
    bool m_newer = false;   // a journal of a newer version: never written
    bool m_opened = false;  // opened, checked where needed and taken up
    bool m_stuck = false;   // one that could not be set aside: written no more
};

}  // namespace tonarika
