#pragma once

// own
#include "Journal.h"
#include "TrialSpill.h"

// std
#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tonarika {

class SqliteDatabase;

// The rows of the journal's tables: trials, and Practice's key presses apart, written in one transaction each time, or none of
// them; each run of this session numbered by the journal with its first row, and each test
// numbered with its first answer. Throws SqliteError.
class JournalStore {
public:
    // This session's trials, with the offset from UTC where each was answered.
    void write(SqliteDatabase& db, const std::vector<Trial>& trials, const std::atomic<bool>& cancelled);
    // Trials a game left in a spill file, each with its run as that game knew it.
    void takeIn(SqliteDatabase& db, const std::vector<SpilledTrial>& trials);

    // The journal's number for each run of this session that has one.
    const std::map<std::int64_t, std::int64_t>& runs() const { return m_runs; }

private:
    // Adds one row: the trial with its journal's run, and for a test's answer its test's number.
    static void insert(SqliteDatabase& db, Trial row, std::int64_t run);
    // Adds the moment of a key pressed in Practice.
    static void insertPress(SqliteDatabase& db, const Trial& press);
    static std::int64_t nextRun(SqliteDatabase& db);

    std::map<std::int64_t, std::int64_t> m_runs;
};

// The local offset from UTC, in seconds, at a moment.
std::int64_t utcOffsetAt(std::int64_t utcMs);

}  // namespace tonarika
