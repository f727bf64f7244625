#pragma once

// own
#include "Journal.h"

// std
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tonarika {

class SqliteDatabase;

// How long the journal's writer waits, and for what.
struct JournalTiming {
    std::chrono::milliseconds busyTimeout{2000};     // for another program's lock, in one write
    std::chrono::milliseconds statementLimit{1000};  // for one statement, before it is given up
    std::chrono::milliseconds retryPause{1000};      // before what could not be written is tried again
    std::size_t queueLimit = 100'000;                // trials held while the journal takes none
};

// The writer thread's side of the journal: opens the file as a file of unknown origin
// (only a regular file; its pages and its schema checked before anything is written),
// sets aside one that is damaged or another program's, begins a new one, writes trials
// in transactions, and takes in the trials an earlier game left in the spill file. Used by
// one thread; only cancel() comes from another.
class JournalWriter {
public:
    enum class Outcome {
        Written,    // in the journal
        Retry,      // not now (a lock, a full disk, no folder yet): the same trials again later
        Refused,    // never: a trial the schema refuses
        Elsewhere,  // never here: the journal is of a newer version, and the trials belong in the spill file
    };

    JournalWriter(std::filesystem::path file, JournalTiming timing);
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Writes the trials in one transaction, or none of them; with none, opens the journal.
    Outcome write(const std::vector<Trial>& trials);
    // Closes the journal, and where it was open and whole, notes the file as this game left
    // it, so that the next opening need not check it again.
    void close();
    // Ends the statement under way at once, and every later one (from any thread).
    void cancel() { m_cancelled = true; }
    // The journal's number for each run of this session that has one.
    const std::map<std::uint32_t, std::int64_t>& runs() const { return m_runs; }
    // This session's name, for the runs that have no number yet.
    const std::string& session() const { return m_session; }

    // One line on stderr per kind of trouble, however often it comes back.
    void tell(const std::string& kind, const std::string& text);

private:
    // Opens the journal, checks it where needed and brings its schema up to date.
    Outcome open();
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
    bool setAside(const std::string& why, const std::string& detail);
    // Takes in what the spill files hold; each is removed once it is in the journal.
    void takeInSpill();
    void takeInSpill(const std::filesystem::path& file);
    void insert(const Trial& trial, std::int64_t utcOffsetS, std::int64_t run);
    std::int64_t nextRun();
    Outcome failed(const std::exception& fault, const std::string& what);

    static int onBusy(void* writer, int attempts);

    std::filesystem::path m_file;
    JournalTiming m_timing;
    std::atomic<bool> m_cancelled{false};
    std::unique_ptr<SqliteDatabase> m_db;
    bool m_newer = false;        // a journal of a newer version: never written
    bool m_opened = false;       // opened, checked where needed and taken up
    bool m_stuck = false;        // one that could not be set aside: written no more
    std::map<std::uint32_t, std::int64_t> m_runs;
    std::string m_session;
    std::set<std::string> m_told;
};

// The local offset from UTC, in seconds, at a moment.
std::int64_t utcOffsetAt(std::int64_t utcMs);

}  // namespace tonarika
