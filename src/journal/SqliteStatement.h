#pragma once

// std
#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace tonarika {

class SqliteDatabase;

// A prepared statement, finalized with the object. Binding and stepping throw
// SqliteError on failure.
class SqliteStatement {
public:
    SqliteStatement(SqliteDatabase& database, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters count from 1, as in SQLite.
    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, std::string_view value);
    SqliteStatement& bindNull(int index);
    // True while it gives a row; false once done.
    bool step();
    void reset();

    // Columns count from 0.
    std::int64_t integer(int column) const;
    bool isNull(int column) const;
    // Whether the column holds an integer: not a real, a text, a blob or nothing.
    bool isInteger(int column) const;
    bool isText(int column) const;
    std::string text(int column) const;

private:
    SqliteDatabase& m_database;
    sqlite3_stmt* m_statement = nullptr;
};

}  // namespace tonarika
