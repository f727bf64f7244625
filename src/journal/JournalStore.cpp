#include "JournalStore.h"

// own
#include "JournalColumns.h"
#include "SqliteDatabase.h"
#include "SqliteStatement.h"

// SQLite
#include <sqlite3.h>

// std
#include <ctime>

namespace tonarika {

std::int64_t utcOffsetAt(std::int64_t utcMs)
{
    const std::time_t seconds = std::time_t(utcMs / 1000);
    std::tm local{};
    return ::localtime_r(&seconds, &local) ? local.tm_gmtoff : 0;
}

std::int64_t JournalStore::nextRun(SqliteDatabase& db)
{
    return db.integer("SELECT coalesce(max(run), 0) + 1 FROM trials");
}

void JournalStore::insertPress(SqliteDatabase& db, const Trial& press)
{
    SqliteStatement insert(db, "INSERT INTO presses (answered_utc_ms, utc_offset_s) VALUES (?1, ?2)");
    insert.bind(1, press.answeredAtMs).bind(2, std::int64_t(press.utcOffsetS));
    insert.step();
}

void JournalStore::insert(SqliteDatabase& db, Trial row, std::int64_t run)
{
    row.run = run;
    row.test = 0;
    // A test's answers share its number: the one its run has, or the next after the largest.
    if (row.mode == Mode::PitchTest) {
        SqliteStatement number(db, "SELECT coalesce((SELECT test FROM trials WHERE run = ?1 AND mode = 'Test' LIMIT 1), "
                                   "(SELECT coalesce(max(test), 0) + 1 FROM trials))");
        number.bind(1, run);
        number.step();
        row.test = number.integer(0);
    }
    static const std::string statement = insertStatement();
    SqliteStatement insert(db, statement.c_str());
    bindTrial(insert, row);
    insert.step();
}

void JournalStore::write(SqliteDatabase& db, const std::vector<Trial>& trials, const std::atomic<bool>& cancelled)
{
    db.beginWork();
    db.execute("BEGIN IMMEDIATE");
    try {
        // A run gets the journal's next number with its first row, in the same
        // transaction, so that two games at once never share one.
        auto runs = m_runs;
        for (Trial trial : trials) {
            trial.utcOffsetS = std::int32_t(utcOffsetAt(trial.answeredAtMs));
            // A key pressed in Practice is no answer of a run: it takes no run's number.
            if (trial.mode == Mode::Prac) {
                insertPress(db, trial);
                continue;
            }
            const auto run = runs.find(trial.run);
            const std::int64_t number = run != runs.end() ? run->second : (runs[trial.run] = nextRun(db));
            insert(db, trial, number);
        }
        // The game is ending, and these trials are going into the spill file instead.
        if (cancelled)
            throw SqliteError(SQLITE_INTERRUPT, "interrupted");
        db.execute("COMMIT");
        m_runs = std::move(runs);
    } catch (...) {
        try {
            db.execute("ROLLBACK");
        } catch (const SqliteError&) {
            // Nothing was begun.
        }
        throw;
    }
}

void JournalStore::takeIn(SqliteDatabase& db, const std::vector<SpilledTrial>& trials)
{
    db.beginWork();
    db.execute("BEGIN IMMEDIATE");
    try {
        // An earlier session's runs that had no number get the journal's next ones.
        std::map<std::string, std::int64_t> runs;
        for (const SpilledTrial& spilled : trials) {
            if (spilled.trial.mode == Mode::Prac) {
                insertPress(db, spilled.trial);
                continue;
            }
            std::int64_t run = spilled.runNumber;
            if (run == 0) {
                const auto known = runs.find(spilled.session);
                run = known != runs.end() ? known->second : (runs[spilled.session] = nextRun(db));
            }
            insert(db, spilled.trial, run);
        }
        db.execute("COMMIT");
    } catch (...) {
        try {
            db.execute("ROLLBACK");
        } catch (const SqliteError&) {
            // Nothing was begun.
        }
        throw;
    }
}

}  // namespace tonarika
