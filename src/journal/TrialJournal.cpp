#include "TrialJournal.h"

// own
#include "SqliteDatabase.h"
#include "SqliteStatement.h"

// Qt
#include <QLoggingCategory>

// SQLite
#include <sqlite3.h>

// system
#include <malloc.h>
#include <ctime>

// std
#include <array>
#include <system_error>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcJournal, "tonarika.journal", QtWarningMsg)

// Each step takes the schema one version up; a later version adds its step here.
constexpr std::array kMigrations{
    "CREATE TABLE trials ("
    "  id INTEGER PRIMARY KEY,"
    "  answered_utc_ms INTEGER NOT NULL,"
    "  utc_offset_s INTEGER NOT NULL,"
    "  mode TEXT NOT NULL CHECK (mode IN ('Easy', 'Hard')),"
    "  run INTEGER NOT NULL,"
    "  asked INTEGER NOT NULL CHECK (asked BETWEEN 0 AND 11),"
    "  answered INTEGER NOT NULL CHECK (answered BETWEEN 0 AND 11),"
    "  reaction_ms INTEGER CHECK (reaction_ms >= 0),"
    "  plays INTEGER NOT NULL CHECK (plays >= 1));"
    "CREATE INDEX trials_by_time ON trials (answered_utc_ms);",
};
static_assert(kMigrations.size() == TrialJournal::kSchemaVersion);

// The local offset from UTC, in seconds, at a moment.
std::int64_t utcOffsetAt(std::int64_t utcMs)
{
    const std::time_t seconds = std::time_t(utcMs / 1000);
    std::tm local{};
    return ::localtime_r(&seconds, &local) ? local.tm_gmtoff : 0;
}

std::string stamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

}  // namespace

std::filesystem::path journalFile(const std::filesystem::path& dataFolder)
{
    return dataFolder / "trials.sqlite";
}

TrialJournal::TrialJournal(std::filesystem::path file, std::chrono::milliseconds busyTimeout)
    : m_file(std::move(file))
    , m_busyTimeout(busyTimeout)
{
}

TrialJournal::~TrialJournal()
{
    // Still stuck on a lock or a slow disk after the wait: the program must end all the
    // same, and the writer gives up the row it is on and those behind it.
    const bool written = flush(kFlushLimit);
    std::size_t lost = 0;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_abandon = !written;
        lost = m_queue.size() + (m_writing ? 1 : 0);
    }
    m_wake.notify_all();
    if (m_writer.joinable())
        m_writer.join();
    if (!written)
        qCWarning(lcJournal, "%zu trials could not be written in time", lost);
}

int TrialJournal::onBusy(void* journal, int attempts)
{
    const auto& self = *static_cast<TrialJournal*>(journal);
    constexpr auto kPause = std::chrono::milliseconds(10);
    if (self.m_abandon || attempts * kPause >= self.m_busyTimeout)
        return 0;
    std::this_thread::sleep_for(kPause);
    return 1;
}

void TrialJournal::record(const Trial& trial)
{
    std::lock_guard lock(m_mutex);
    if (m_stopping)
        return;
    m_queue.push_back(trial);
    if (!m_writer.joinable())
        m_writer = std::thread(&TrialJournal::writeRows, this);
    m_wake.notify_one();
}

bool TrialJournal::flush(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, limit, [this] { return m_queue.empty() && !m_writing; });
}

void TrialJournal::writeRows()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty() || m_abandon)
            break;
        const Trial trial = m_queue.front();
        m_queue.pop_front();
        m_writing = true;
        lock.unlock();
        write(trial);
        lock.lock();
        m_writing = false;
        m_idle.notify_all();
    }
    m_db.reset();
}

void TrialJournal::tell(const std::string& kind, const std::string& text)
{
    if (m_told.insert(kind).second)
        qCWarning(lcJournal, "%s", text.c_str());
}

void TrialJournal::setAside(const std::string& why)
{
    m_db.reset();
    // Never over another file: a second damaged journal in the same second gets a number.
    std::filesystem::path aside = m_file.string() + ".damaged-" + stamp();
    for (int n = 2; std::filesystem::exists(aside) || std::filesystem::exists(aside.string() + "-wal"); ++n)
        aside = m_file.string() + ".damaged-" + stamp() + "-" + std::to_string(n);
    std::error_code error;
    std::filesystem::rename(m_file, aside, error);
    for (const char* companion : {"-wal", "-shm"}) {
        std::error_code ignored;
        if (std::filesystem::exists(m_file.string() + companion, ignored))
            std::filesystem::rename(m_file.string() + companion, aside.string() + companion, ignored);
    }
    tell("damaged", m_file.string() + " is damaged (" + why + "): it is kept as " + aside.string()
                        + ", and a new journal begins");
}

bool TrialJournal::open()
{
    m_db.reset();
    std::error_code error;
    std::filesystem::create_directories(m_file.parent_path(), error);
    if (error) {
        tell("folder", "no journal: its folder " + m_file.parent_path().string() + " cannot be made: " + error.message());
        return false;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            m_db = std::make_unique<SqliteDatabase>(fileUri(m_file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            sqlite3_busy_handler(m_db->handle(), &TrialJournal::onBusy, this);
            // One row now and then: no lookaside slots, and a small page cache, so that
            // the check below does not leave a large journal's pages in the game's memory.
            sqlite3_db_config(m_db->handle(), SQLITE_DBCONFIG_LOOKASIDE, nullptr, 0, 0);
            m_db->execute("PRAGMA cache_size = -32");
            // A file that is no database, or a damaged one, fails here.
            const std::string check = m_db->text("PRAGMA quick_check");
            if (check != "ok") {
                setAside(check);
                continue;
            }
            const std::int64_t version = m_db->integer("PRAGMA user_version");
            if (version > kSchemaVersion) {
                tell("newer", "the journal " + m_file.string() + " was written by a newer version (schema "
                                  + std::to_string(version) + "): it is left as it is, and nothing is added to it");
                m_db.reset();
                m_disabled = true;
                return false;
            }
            m_db->execute("PRAGMA journal_mode = WAL");
            // The WAL files stay, so that the progress view can always read without making any.
            int persist = 1;
            sqlite3_file_control(m_db->handle(), "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
            if (version < kSchemaVersion) {
                m_db->execute("BEGIN IMMEDIATE");
                for (std::int64_t step = m_db->integer("PRAGMA user_version"); step < kSchemaVersion; ++step) {
                    m_db->execute(kMigrations[size_t(step)]);
                    m_db->execute(("PRAGMA user_version = " + std::to_string(step + 1)).c_str());
                }
                m_db->execute("COMMIT");
            }
            // What opening took and gave back (the check's pages, the schema's parsing)
            // goes back to the system rather than staying in this thread's heap.
            ::malloc_trim(0);
            return true;
        } catch (const SqliteError& fault) {
            if ((fault.code() & 0xFF) == SQLITE_NOTADB || (fault.code() & 0xFF) == SQLITE_CORRUPT) {
                setAside(fault.what());
                continue;
            }
            m_db.reset();
            tell("open", "no journal: " + m_file.string() + " cannot be opened: " + fault.what());
            return false;
        }
    }
    tell("open", "no journal: " + m_file.string() + " cannot be begun anew");
    return false;
}

void TrialJournal::write(const Trial& trial)
{
    // What failed to open (a full disk, a lock, a folder not yet there) is tried again
    // with the next trial; a journal of a newer version never.
    if (m_disabled || (!m_db && !open()))
        return;
    try {
        m_db->execute("BEGIN IMMEDIATE");
        // A run gets the journal's next number with its first row, in the same
        // transaction, so that two games at once never share one.
        auto run = m_runs.find(trial.run);
        const std::int64_t number =
            run != m_runs.end() ? run->second : m_db->integer("SELECT coalesce(max(run), 0) + 1 FROM trials");
        SqliteStatement insert(*m_db,
                               "INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, "
                               "reaction_ms, plays) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        insert.bind(1, trial.answeredAtMs)
            .bind(2, utcOffsetAt(trial.answeredAtMs))
            .bind(3, modeName(trial.mode))
            .bind(4, number)
            .bind(5, std::int64_t(trial.asked))
            .bind(6, std::int64_t(trial.answered))
            .bind(8, std::int64_t(trial.plays));
        if (trial.reactionMs)
            insert.bind(7, std::int64_t(*trial.reactionMs));
        else
            insert.bindNull(7);
        insert.step();
        m_db->execute("COMMIT");
        m_runs[trial.run] = number;
    } catch (const SqliteError& fault) {
        try {
            m_db->execute("ROLLBACK");
        } catch (const SqliteError&) {
            // Nothing was begun.
        }
        tell("write " + std::to_string(fault.code() & 0xFF), "a trial could not be added to " + m_file.string() + ": "
                                                                 + fault.what());
    }
}

}  // namespace tonarika
