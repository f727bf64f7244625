#include "JournalReader.h"

// own
#include "JournalSchema.h"
#include "SqliteDatabase.h"
#include "SqliteStatement.h"
#include "TrialRules.h"

// SQLite
#include <sqlite3.h>

// system
#include <sys/stat.h>
#include <unistd.h>

// std
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace tonarika {

namespace {

std::filesystem::path beside(const std::filesystem::path& file, const char* suffix)
{
    return file.string() + suffix;
}

}  // namespace

JournalReader::JournalReader(std::filesystem::path file, std::chrono::milliseconds limit, std::optional<std::int64_t> sinceUtcMs)
    : m_file(std::move(file))
    , m_limit(limit)
    , m_since(sinceUtcMs)
{
}

JournalReader JournalReader::lastOfEachNote(std::filesystem::path file, int perNote, std::optional<std::int64_t> sinceUtcMs)
{
    JournalReader reader(std::move(file), kReadLimit, sinceUtcMs);
    reader.m_perNote = perNote;
    return reader;
}

bool JournalReader::update()
{
    const std::size_t before = m_rows.size();
    const std::size_t pressesBefore = m_presses.size();
    const std::size_t refusedBefore = m_refused;
    const auto hadFault = m_fault;
    struct stat status {};
    m_exists = ::stat(m_file.c_str(), &status) == 0;
    if (!m_exists || status.st_ino != m_inode) {
        // Gone, or another file under the name (one set aside and begun anew): from the start.
        m_rows.clear();
        m_lastId = 0;
        m_presses.clear();
        m_lastPressId = 0;
        m_refused = 0;
        m_inode = m_exists ? status.st_ino : 0;
    }
    m_fault.reset();
    const auto changed = [&] {
        return m_rows.size() != before || m_presses.size() != pressesBefore || m_refused != refusedBefore
               || m_fault != hadFault;
    };
    if (!m_exists && !notARegularFile(m_file))
        return changed();
    // A FIFO would keep the open waiting for good, a folder or a device is no journal.
    for (const char* suffix : {"", "-wal", "-shm"}) {
        if (const auto why = notARegularFile(beside(m_file, suffix))) {
            m_fault = JournalFault{JournalFault::Kind::NotAFile, beside(m_file, suffix).filename().string() + " (" + *why + ")"};
            return changed();
        }
    }
    std::error_code error;
    const auto walBytes = std::filesystem::file_size(beside(m_file, "-wal"), error);
    const bool wal = !error && walBytes > 0;
    const bool shm = std::filesystem::exists(beside(m_file, "-shm"), error);
    if (wal && !shm) {
        // SQLite reads a WAL only through its -shm, which a reader must not make beside the
        // game's files: the two are read from a copy of their own.
        readCopy();
    } else {
        // Without a WAL no game is writing, and none may be made by reading.
        read(fileUri(m_file) + (wal ? "?mode=ro" : "?mode=ro&immutable=1"), SQLITE_OPEN_READONLY);
    }
    return changed();
}

bool JournalReader::readCopy()
{
    std::error_code error;
    const auto bytes = std::filesystem::file_size(m_file, error) + std::filesystem::file_size(beside(m_file, "-wal"), error);
    if (error || bytes > kMaxCopyBytes) {
        m_fault = JournalFault{JournalFault::Kind::WalUnread, error ? error.message() : "too large to copy"};
        return false;
    }
    std::string folder = (std::filesystem::temp_directory_path(error) / "tonarika-journal-XXXXXX").string();
    if (error || !::mkdtemp(folder.data())) {
        m_fault = JournalFault{JournalFault::Kind::WalUnread, "no private folder for a copy"};
        return false;
    }
    const std::filesystem::path copy = std::filesystem::path(folder) / "trials.sqlite";
    std::filesystem::copy_file(m_file, copy, error);
    if (!error)
        std::filesystem::copy_file(beside(m_file, "-wal"), beside(copy, "-wal"), error);
    if (error)
        m_fault = JournalFault{JournalFault::Kind::WalUnread, error.message()};
    else
        read(fileUri(copy), SQLITE_OPEN_READWRITE);  // its own: SQLite takes the WAL in
    std::filesystem::remove_all(folder, error);
    return !m_fault;
}

void JournalReader::read(const std::string& uri, int flags)
{
    try {
        SqliteDatabase db(uri, flags);
        db.limitWork(m_limit, m_cancelled.get());
        sqlite3_busy_timeout(db.handle(), 1000);
        const SchemaCheck schema = checkSchema(db);
        switch (schema.kind) {
        case SchemaCheck::Kind::Empty:
            return;  // a journal still being made
        case SchemaCheck::Kind::Newer:
            m_fault = JournalFault{JournalFault::Kind::Newer, "schema " + std::to_string(schema.version)};
            return;
        case SchemaCheck::Kind::Foreign:
            m_fault = JournalFault{JournalFault::Kind::Foreign, schema.why};
            return;
        case SchemaCheck::Kind::Known:
            break;
        }
        if (schema.version >= 7)
            readPresses(db);
        // A journal the game has not yet taken to the current version holds what its
        // columns' older rows hold. From a moment on, only the rows of the time index's
        // range are read, however long the journal.
        const std::string columns = selectedColumns(schema.version);
        const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::system_clock::now().time_since_epoch())
                                     .count();
        const auto take = [&](SqliteStatement& select) {
            while (select.step()) {
                m_lastId = std::max(m_lastId, select.integer(0));
                if (auto row = trialOf(select, now))
                    m_rows.push_back(*row);
                else
                    ++m_refused;
            }
        };
        if (m_perNote > 0) {
            SqliteStatement select(db, ("SELECT " + columns + " FROM trials WHERE mode = ?1 AND asked = ?2 ORDER BY id DESC LIMIT ?3").c_str());
            for (const Mode mode : {Mode::Easy, Mode::Hard}) {
                for (int note = 0; note < kNoteCount; ++note) {
                    select.bind(1, modeKey(mode)).bind(2, std::int64_t(note)).bind(3, std::int64_t(m_perNote));
                    take(select);
                    select.reset();
                }
            }
            if (m_since) {
                SqliteStatement recent(db, ("SELECT " + columns + " FROM trials INDEXED BY trials_by_time "
                                                                 "WHERE answered_utc_ms >= ?1").c_str());
                recent.bind(1, *m_since);
                take(recent);
            }
            const auto byId = [](const Trial& a, const Trial& b) { return a.id < b.id; };
            std::sort(m_rows.begin(), m_rows.end(), byId);
            m_rows.erase(std::unique(m_rows.begin(), m_rows.end(), [](const Trial& a, const Trial& b) { return a.id == b.id; }),
                         m_rows.end());
            return;
        }
        const std::string where = m_since ? " FROM trials INDEXED BY trials_by_time WHERE answered_utc_ms >= ?2 AND id > ?1"
                                          : " FROM trials WHERE id > ?1";
        SqliteStatement select(db, ("SELECT " + columns + where + " ORDER BY id").c_str());
        select.bind(1, m_lastId);
        if (m_since)
            select.bind(2, *m_since);
        take(select);
    } catch (const SqliteError& fault) {
        if (fault.primary() == SQLITE_INTERRUPT)
            m_fault = m_cancelled->load() ? std::nullopt
                                          : std::optional<JournalFault>(JournalFault{JournalFault::Kind::TooSlow, {}});
        else if (fault.damaged())
            m_fault = JournalFault{JournalFault::Kind::Damaged, fault.what()};
        else
            m_fault = JournalFault{JournalFault::Kind::Unreadable, fault.what()};
    }
}

void JournalReader::readPresses(SqliteDatabase& db)
{
    const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    SqliteStatement select(db, "SELECT id, answered_utc_ms, utc_offset_s FROM presses INDEXED BY presses_by_time "
                               "WHERE answered_utc_ms >= ?2 AND id > ?1 ORDER BY id");
    select.bind(1, m_lastPressId).bind(2, m_since.value_or(std::numeric_limits<std::int64_t>::min()));
    while (select.step()) {
        m_lastPressId = std::max(m_lastPressId, select.integer(0));
        const bool numbers = select.isInteger(1) && select.isInteger(2);
        if (numbers && trialRules::validTime(select.integer(1), now) && trialRules::validOffset(select.integer(2)))
            m_presses.push_back({select.integer(1), std::int32_t(select.integer(2)), std::nullopt});
        else
            ++m_refused;
    }
}

std::string describeJournalFault(const JournalFault& fault)
{
    switch (fault.kind) {
    case JournalFault::Kind::NotAFile:
        return "it is not opened, as it is no regular file: " + fault.detail;
    case JournalFault::Kind::Foreign:
        return "it is not this program's journal: " + fault.detail;
    case JournalFault::Kind::Newer:
        return "it was written by a newer version (" + fault.detail + ")";
    case JournalFault::Kind::Damaged:
        return "it is damaged: " + fault.detail;
    case JournalFault::Kind::TooSlow:
        return "reading it took too long, and was given up";
    case JournalFault::Kind::WalUnread:
        return "its WAL, which has no -shm beside it, cannot be read: " + fault.detail;
    case JournalFault::Kind::Unreadable:
        break;
    }
    return "it cannot be read: " + fault.detail;
}

}  // namespace tonarika
