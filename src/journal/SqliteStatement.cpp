#include "SqliteStatement.h"

// own
#include "SqliteDatabase.h"

// SQLite
#include <sqlite3.h>

namespace tonarika {

SqliteStatement::SqliteStatement(SqliteDatabase& database, const char* sql)
    : m_database(database)
{
    m_database.check(sqlite3_prepare_v2(database.handle(), sql, -1, &m_statement, nullptr));
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value)
{
    m_database.check(sqlite3_bind_int64(m_statement, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view value)
{
    m_database.check(sqlite3_bind_text(m_statement, index, value.data(), int(value.size()), SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index)
{
    m_database.check(sqlite3_bind_null(m_statement, index));
    return *this;
}

bool SqliteStatement::step()
{
    const int code = sqlite3_step(m_statement);
    m_database.check(code);
    return code == SQLITE_ROW;
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

std::int64_t SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

bool SqliteStatement::isInteger(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_INTEGER;
}

bool SqliteStatement::isText(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_TEXT;
}

std::string SqliteStatement::text(int column) const
{
    const auto* text = sqlite3_column_text(m_statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text), size_t(sqlite3_column_bytes(m_statement, column)))
                : std::string();
}

}  // namespace tonarika
