#include "JournalReader.h"

// own
#include "SqliteDatabase.h"
#include "SqliteStatement.h"

// SQLite
#include <sqlite3.h>

// system
#include <sys/stat.h>

namespace tonarika {

JournalReader::JournalReader(std::filesystem::path file)
    : m_file(std::move(file))
{
}

bool JournalReader::update()
{
    const std::size_t before = m_rows.size();
    const auto hadFault = m_fault;
    struct stat status {};
    m_exists = ::stat(m_file.c_str(), &status) == 0;
    if (!m_exists || status.st_ino != m_inode) {
        // Gone, or another file under the name (one set aside and begun anew): from the start.
        m_rows.clear();
        m_inode = m_exists ? status.st_ino : 0;
    }
    m_fault.reset();
    if (!m_exists)
        return before != 0 || hadFault;
    const auto beside = [this](const char* suffix) {
        struct stat other {};
        return ::stat((m_file.string() + suffix).c_str(), &other) == 0;
    };
    // Without the WAL files no game is writing, and none may be made by reading.
    std::string uri = fileUri(m_file) + "?mode=ro";
    if (!beside("-wal") || !beside("-shm"))
        uri += "&immutable=1";
    try {
        SqliteDatabase db(uri, SQLITE_OPEN_READONLY);
        sqlite3_busy_timeout(db.handle(), 1000);
        SqliteStatement select(db, "SELECT id, answered_utc_ms, utc_offset_s, mode, run, asked, answered, reaction_ms, "
                                   "plays FROM trials WHERE id > ? ORDER BY id");
        select.bind(1, m_rows.empty() ? std::int64_t(0) : m_rows.back().id);
        while (select.step()) {
            TrialRow row;
            row.id = select.integer(0);
            row.answeredAtMs = select.integer(1);
            row.utcOffsetS = std::int32_t(select.integer(2));
            row.mode = select.text(3) == modeName(Mode::Hard) ? Mode::Hard : Mode::Easy;
            row.run = select.integer(4);
            row.asked = NoteIndex(select.integer(5));
            row.answered = NoteIndex(select.integer(6));
            if (!select.isNull(7))
                row.reactionMs = std::uint32_t(select.integer(7));
            row.plays = std::uint32_t(select.integer(8));
            if (row.asked < kNoteCount && row.answered < kNoteCount)
                m_rows.push_back(row);
        }
    } catch (const SqliteError& fault) {
        // A journal still being made has no table yet: that is no fault.
        if (std::string(fault.what()).find("no such table") == std::string::npos)
            m_fault = fault.what();
    }
    return m_rows.size() != before || m_fault != hadFault;
}

}  // namespace tonarika
