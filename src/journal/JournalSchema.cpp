#include "JournalSchema.h"

// own
#include "SqliteDatabase.h"
#include "SqliteStatement.h"

// SQLite
#include <sqlite3.h>

// std
#include <array>
#include <map>
#include <tuple>

namespace tonarika {

namespace {

// The first seven versions, each step taking the schema one version up, as they were made:
// the files they made hold these statements' text. A step that rebuilds the table copies
// its rows between what comes before and after, in batches. Every later version adds the
// columns of the column table that came with it.
struct Migration {
    const char* before;
    const char* copy = nullptr;  // ?1: the last id copied; copies the next batch after it
    const char* after = nullptr;
};

const std::array kMigrations{
    Migration{"CREATE TABLE trials ("
              "  id INTEGER PRIMARY KEY,"
              "  answered_utc_ms INTEGER NOT NULL,"
              "  utc_offset_s INTEGER NOT NULL,"
              "  mode TEXT NOT NULL CHECK (mode IN ('Easy', 'Hard')),"
              "  run INTEGER NOT NULL,"
              "  asked INTEGER NOT NULL CHECK (asked BETWEEN 0 AND 11),"
              "  answered INTEGER NOT NULL CHECK (answered BETWEEN 0 AND 11),"
              "  reaction_ms INTEGER CHECK (reaction_ms >= 0),"
              "  plays INTEGER NOT NULL CHECK (plays >= 1));"
              "CREATE INDEX trials_by_time ON trials (answered_utc_ms);"},
    // What each question sounded like; the rows before were all the middle piano octave.
    Migration{"ALTER TABLE trials ADD COLUMN timbre TEXT NOT NULL DEFAULT 'piano'"
              "  CHECK (timbre IN ('piano', 'marimba', 'guitar', 'clarinet', 'trumpet', 'sine'));"
              "ALTER TABLE trials ADD COLUMN octave INTEGER NOT NULL DEFAULT 4 CHECK (octave BETWEEN 3 AND 5);"
              "ALTER TABLE trials ADD COLUMN guard INTEGER NOT NULL DEFAULT 0 CHECK (guard IN (0, 1));"},
    // Each run's number is the next after the largest: found at once, however long the journal.
    Migration{"CREATE INDEX trials_by_run ON trials (run);"},
    // The pitch standard each question sounded at; the rows before were all at 440 Hz. And
    // each note's last answers in a mode, found at once for the growing set.
    Migration{"ALTER TABLE trials ADD COLUMN a4 INTEGER NOT NULL DEFAULT 440 CHECK (a4 BETWEEN 415 AND 466);"
              "CREATE INDEX trials_by_note ON trials (mode, asked);"},
    // The test of absolute pitch: its answers under a mode of their own, each with its
    // test's number. A CHECK cannot change in place: the table is made anew.
    Migration{"CREATE TABLE trials_next ("
              "  id INTEGER PRIMARY KEY,"
              "  answered_utc_ms INTEGER NOT NULL,"
              "  utc_offset_s INTEGER NOT NULL,"
              "  mode TEXT NOT NULL CHECK (mode IN ('Easy', 'Hard', 'Test')),"
              "  run INTEGER NOT NULL,"
              "  asked INTEGER NOT NULL CHECK (asked BETWEEN 0 AND 11),"
              "  answered INTEGER NOT NULL CHECK (answered BETWEEN 0 AND 11),"
              "  reaction_ms INTEGER CHECK (reaction_ms >= 0),"
              "  plays INTEGER NOT NULL CHECK (plays >= 1),"
              "  timbre TEXT NOT NULL DEFAULT 'piano'"
              "    CHECK (timbre IN ('piano', 'marimba', 'guitar', 'clarinet', 'trumpet', 'sine')),"
              "  octave INTEGER NOT NULL DEFAULT 4 CHECK (octave BETWEEN 3 AND 5),"
              "  guard INTEGER NOT NULL DEFAULT 0 CHECK (guard IN (0, 1)),"
              "  a4 INTEGER NOT NULL DEFAULT 440 CHECK (a4 BETWEEN 415 AND 466),"
              "  test INTEGER CHECK (test >= 1),"
              "  CHECK ((mode = 'Test') = (test IS NOT NULL)));",
              "INSERT INTO trials_next (id, answered_utc_ms, utc_offset_s, mode, run, asked, answered, reaction_ms, "
              "plays, timbre, octave, guard, a4) SELECT id, answered_utc_ms, utc_offset_s, mode, run, asked, answered, "
              "reaction_ms, plays, timbre, octave, guard, a4 FROM trials WHERE id > ?1 ORDER BY id LIMIT 100000",
              "DROP TABLE trials;"
              "ALTER TABLE trials_next RENAME TO trials;"
              "CREATE INDEX trials_by_time ON trials (answered_utc_ms);"
              "CREATE INDEX trials_by_run ON trials (run);"
              "CREATE INDEX trials_by_note ON trials (mode, asked);"
              "CREATE INDEX trials_by_test ON trials (test);"},
    // How each answer was given; the rows before do not say.
    Migration{"ALTER TABLE trials ADD COLUMN input TEXT CHECK (input IN ('mouse', 'keys', 'midi'));"},
    // The moments of Practice's key presses, which count only for the time practised; the
    // answer window comes with this version too, from the column table.
    Migration{"CREATE TABLE presses ("
              "  id INTEGER PRIMARY KEY,"
              "  answered_utc_ms INTEGER NOT NULL,"
              "  utc_offset_s INTEGER NOT NULL CHECK (utc_offset_s BETWEEN -86400 AND 86400));"
              "CREATE INDEX presses_by_time ON presses (answered_utc_ms);"},
    // Sung answers: a mode and an input of their own, and each one's error in cents. The
    // CHECKs cannot change in place: the table is made anew, as for the test.
    Migration{"CREATE TABLE trials_next ("
              "  id INTEGER PRIMARY KEY,"
              "  answered_utc_ms INTEGER NOT NULL,"
              "  utc_offset_s INTEGER NOT NULL,"
              "  mode TEXT NOT NULL CHECK (mode IN ('Easy', 'Hard', 'Test', 'Sing')),"
              "  run INTEGER NOT NULL,"
              "  asked INTEGER NOT NULL CHECK (asked BETWEEN 0 AND 11),"
              "  answered INTEGER NOT NULL CHECK (answered BETWEEN 0 AND 11),"
              "  reaction_ms INTEGER CHECK (reaction_ms >= 0),"
              "  plays INTEGER NOT NULL CHECK (plays >= 1),"
              "  timbre TEXT NOT NULL DEFAULT 'piano'"
              "    CHECK (timbre IN ('piano', 'marimba', 'guitar', 'clarinet', 'trumpet', 'sine')),"
              "  octave INTEGER NOT NULL DEFAULT 4 CHECK (octave BETWEEN 3 AND 5),"
              "  guard INTEGER NOT NULL DEFAULT 0 CHECK (guard IN (0, 1)),"
              "  a4 INTEGER NOT NULL DEFAULT 440 CHECK (a4 BETWEEN 415 AND 466),"
              "  test INTEGER CHECK (test >= 1),"
              "  input TEXT CHECK (input IN ('mouse', 'keys', 'midi', 'voice')),"
              "  window_ms INTEGER CHECK (window_ms BETWEEN 1000 AND 5000),"
              "  cents_off INTEGER CHECK (cents_off BETWEEN -600 AND 600),"
              "  CHECK ((mode = 'Test') = (test IS NOT NULL)),"
              "  CHECK ((mode = 'Sing') = (cents_off IS NOT NULL)));",
              "INSERT INTO trials_next (id, answered_utc_ms, utc_offset_s, mode, run, asked, answered, reaction_ms, "
              "plays, timbre, octave, guard, a4, test, input, window_ms) SELECT id, answered_utc_ms, utc_offset_s, mode, "
              "run, asked, answered, reaction_ms, plays, timbre, octave, guard, a4, test, input, window_ms FROM trials "
              "WHERE id > ?1 ORDER BY id LIMIT 100000",
              "DROP TABLE trials;"
              "ALTER TABLE trials_next RENAME TO trials;"
              "CREATE INDEX trials_by_time ON trials (answered_utc_ms);"
              "CREATE INDEX trials_by_run ON trials (run);"
              "CREATE INDEX trials_by_note ON trials (mode, asked);"
              "CREATE INDEX trials_by_test ON trials (test);"},
};
static_assert(kMigrations.size() == 8);

// Runs one step: what comes before, the rows copied batch by batch, what comes after.
void migrate(SqliteDatabase& db, const Migration& step)
{
    db.execute(step.before);
    if (step.copy) {
        SqliteStatement copy(db, step.copy);
        for (std::int64_t last = 0;;) {
            copy.bind(1, last);
            copy.step();
            copy.reset();
            if (sqlite3_changes(db.handle()) == 0)
                break;
            last = db.integer("SELECT max(id) FROM trials_next");
        }
    }
    if (step.after)
        db.execute(step.after);
}

// Takes the schema from version `step` to the next.
void migrate(SqliteDatabase& db, std::int64_t step)
{
    if (step < std::int64_t(kMigrations.size()))
        migrate(db, kMigrations[std::size_t(step)]);
    for (const JournalColumn& column : kJournalColumns) {
        if (column.since == step + 1 && !column.declaration.empty())
            db.execute(("ALTER TABLE trials ADD COLUMN " + std::string(column.name) + " " + std::string(column.declaration)).c_str());
    }
}

// The schema table's rows by name: type, table and the statement that made each. The
// statistics tables ANALYZE makes are SQLite's own and change nothing that is read.
using SchemaRows = std::map<std::string, std::tuple<std::string, std::string, std::string>>;

SchemaRows schemaRows(SqliteDatabase& db)
{
    SchemaRows rows;
    SqliteStatement select(db, "SELECT type, name, tbl_name, sql FROM sqlite_schema "
                               "WHERE name NOT LIKE 'sqlite\\_stat%' ESCAPE '\\'");
    while (select.step())
        rows[select.text(1)] = {select.text(0), select.text(2), select.text(3)};
    return rows;
}

// What this program's own steps make of an empty database, up to `version`.
SchemaRows expectedRows(std::int64_t version)
{
    SqliteDatabase made(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY);
    for (std::int64_t step = 0; step < version; ++step)
        migrate(made, step);
    return schemaRows(made);
}

}  // namespace

SchemaCheck checkSchema(SqliteDatabase& db)
{
    SchemaCheck check;
    check.version = db.integer("PRAGMA user_version");
    if (check.version > kJournalSchemaVersion) {
        check.kind = SchemaCheck::Kind::Newer;
        return check;
    }
    const SchemaRows found = schemaRows(db);
    if (check.version < 0) {
        check.kind = SchemaCheck::Kind::Foreign;
        check.why = "schema version " + std::to_string(check.version);
        return check;
    }
    if (check.version == 0 && found.empty())
        return check;
    const SchemaRows expected = expectedRows(check.version);
    for (const auto& [name, row] : found) {
        const auto known = expected.find(name);
        if (known == expected.end()) {
            check.kind = SchemaCheck::Kind::Foreign;
            check.why = "a " + std::get<0>(row) + " \"" + name + "\" of another program";
            if (check.version == 0)
                check.why += ", and no schema version";
            return check;
        }
        if (known->second != row) {
            check.kind = SchemaCheck::Kind::Foreign;
            check.why = "the " + std::get<0>(row) + " \"" + name + "\" is not this program's";
            return check;
        }
    }
    for (const auto& [name, row] : expected) {
        if (!found.contains(name)) {
            check.kind = SchemaCheck::Kind::Foreign;
            check.why = "the " + std::get<0>(row) + " \"" + name + "\" is missing";
            return check;
        }
    }
    check.kind = SchemaCheck::Kind::Known;
    return check;
}

void migrateSchema(SqliteDatabase& db, std::int64_t version, std::int64_t to)
{
    // A column added with a CHECK takes its constant default in every row: SQLite need not
    // test each of the rows there are against it, which takes seconds in a long journal.
    db.execute("PRAGMA ignore_check_constraints = ON");
    for (std::int64_t step = version; step < to; ++step) {
        migrate(db, step);
        db.execute(("PRAGMA user_version = " + std::to_string(step + 1)).c_str());
    }
    db.execute("PRAGMA ignore_check_constraints = OFF");
}

}  // namespace tonarika
