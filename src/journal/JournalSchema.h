#pragma once

// own
#include "JournalColumns.h"

// std
#include <cstdint>
#include <string>

namespace tonarika {

class SqliteDatabase;

// The tables of the journal, version by version, and what a file holds against them.
struct SchemaCheck {
    enum class Kind {
        Empty,    // no table, no version: a journal to begin
        Known,    // this program's schema, of its version or an older one
        Newer,    // a version later than this program's
        Foreign,  // anything else: another program's tables, a trigger, a view, a column missing
    };
    Kind kind = Kind::Empty;
    std::int64_t version = 0;
    std::string why;  // for Foreign: the first thing that differs
};

// Compares what the file's schema table holds with what this program's migrations make
// of an empty file for the version the file gives: every table, column, index,
// constraint, and no trigger or view. Reads only the schema, never a row.
SchemaCheck checkSchema(SqliteDatabase& db);

// Brings a Known or Empty journal's schema from `version` to this program's (or to `to`,
// as an earlier version made it), in the transaction the caller has begun.
void migrateSchema(SqliteDatabase& db, std::int64_t version, std::int64_t to = kJournalSchemaVersion);

}  // namespace tonarika
