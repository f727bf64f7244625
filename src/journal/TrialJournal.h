#pragma once

// own
#include "Journal.h"

// std
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace tonarika {

class SqliteDatabase;

// The journal of trials: an SQLite database, "trials.sqlite" in the player's data folder.
// record() only hands the row to a thread of its own, which opens the database at the
// first row and writes each row in a transaction of its own (WAL, a busy timeout, so
// that two games at once lose nothing). Whatever goes wrong (no folder, a full or
// read-only disk, a lock held too long, a damaged file, a file of a newer version) the
// game plays on, and one line on stderr (tonarika.journal) says what happened. A
// damaged file is moved aside as "trials.sqlite.damaged-YYYYMMDD-HHMMSS" and a new
// journal begun; one of a newer version is left alone and not written.
class TrialJournal : public Journal {
public:
    explicit TrialJournal(std::filesystem::path file, std::chrono::milliseconds busyTimeout = std::chrono::seconds(2));
    // Writes what is queued first, waiting at most 2 s.
    ~TrialJournal() override;
    TrialJournal(const TrialJournal&) = delete;
    TrialJournal& operator=(const TrialJournal&) = delete;

    void record(const Trial& trial) override;
    // Waits until every row handed so far is written or given up, at most `limit`;
    // whether it got that far.
    bool flush(std::chrono::milliseconds limit);

    // The schema this program writes; the migrations bring older journals up to it.
    static constexpr int kSchemaVersion = 1;
    static constexpr std::chrono::milliseconds kFlushLimit{2000};

private:
    void writeRows();
    // SQLite's busy handler: waits for a lock up to the timeout, or until the end.
    static int onBusy(void* journal, int attempts);
    // Opens the journal, checks it and brings its schema up to date; false where it
    // cannot be written now.
    bool open();
    void write(const Trial& trial);
    void setAside(const std::string& why);
    // One line on stderr per kind of trouble, however often it comes back.
    void tell(const std::string& kind, const std::string& text);

    std::filesystem::path m_file;
    std::chrono::milliseconds m_busyTimeout;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Trial> m_queue;
    bool m_writing = false;  // a row is being written outside the lock
    bool m_stopping = false;
    std::atomic<bool> m_abandon{false};
    std::thread m_writer;

    // The writer thread's own.
    std::unique_ptr<SqliteDatabase> m_db;
    bool m_disabled = false;
    std::map<std::uint32_t, std::int64_t> m_runs;  // this session's runs, numbered in the journal
    std::set<std::string> m_told;
};

// The journal's file in a data folder.
std::filesystem::path journalFile(const std::filesystem::path& dataFolder);

}  // namespace tonarika
