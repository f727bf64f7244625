#pragma once

// own
#include "Journal.h"
#include "JournalWriter.h"

// std
#include <chrono>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <thread>

namespace tonarika {

// The journal of trials: an SQLite database, "trials.sqlite" in the player's data folder.
// record() only hands the row to a thread of its own, which opens the database at the
// first row and writes the rows in transactions (WAL, a busy timeout, so that two games
// at once lose nothing). Whatever goes wrong the game plays on, and one line on stderr
// (tonarika.journal) says what happened:
// - a row that cannot be written now (a lock, a full disk, a folder not there) waits,
//   and is written once the journal takes it again; at the end, what still waits goes to
//   a spill file beside the journal, which the next start takes in;
// - a damaged file, or another program's, is moved aside with its -wal and -shm as
//   "trials.sqlite.damaged-YYYYMMDD-HHMMSS" (".foreign-...") and a new journal begun;
// - one of a newer version is left alone, and the trials go to the spill file at once, for
//   a game that knows that version to take in.
// The end never keeps the program longer than about kFlushLimit + kStopLimit.
class TrialJournal : public Journal {
public:
    explicit TrialJournal(std::filesystem::path file, JournalTiming timing = {});
    // close(kFlushLimit).
    ~TrialJournal() override;
    TrialJournal(const TrialJournal&) = delete;
    TrialJournal& operator=(const TrialJournal&) = delete;

    void record(const Trial& trial) override;
    // Waits until every row handed so far is written or given up, at most `limit`;
    // whether it got that far.
    bool flush(std::chrono::milliseconds limit);
    // Ends the journal: waits up to `limit` for what is queued, then stops the writer,
    // interrupting its statement, and puts what is still unwritten into the spill file.
    // A writer still busy kStopLimit later is left behind, never waited for. Once only;
    // later rows are not kept.
    void close(std::chrono::milliseconds limit);

    static constexpr std::chrono::milliseconds kFlushLimit{2000};
    static constexpr std::chrono::milliseconds kStopLimit{500};
    // The rows written in one transaction.
    static constexpr std::size_t kBatch = 500;

private:
    struct Shared;
    static void writeRows(std::shared_ptr<Shared> shared);
    // Puts trials into the spill file, with the journal's number for each run that has one.
    static void spill(Shared& shared, const std::deque<Trial>& trials, const std::map<std::int64_t, std::int64_t>& runs);
    // Starts the writer thread unless it runs. Needs the lock.
    void startLocked();

    std::filesystem::path m_file;
    // The queue and the writer, shared with the writer thread, which may outlive this
    // object when it is left behind.
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
    bool m_closed = false;
};

// The journal's file in a data folder.
std::filesystem::path journalFile(const std::filesystem::path& dataFolder);

}  // namespace tonarika
