#include "JournalFile.h"

// own
#include "JournalSchema.h"
#include "OutsideFile.h"
#include "SqliteDatabase.h"
#include "SqliteStatement.h"
#include "TrialSpill.h"

// Qt
#include <QLoggingCategory>

// SQLite
#include <sqlite3.h>

// system
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

// std
#include <ctime>
#include <sstream>
#include <system_error>
#include <thread>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcJournal, "tonarika.journal", QtWarningMsg)

std::string stamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

bool present(const std::filesystem::path& path)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

std::filesystem::path beside(const std::filesystem::path& file, const char* suffix)
{
    return file.string() + suffix;
}

}  // namespace

JournalFile::JournalFile(std::filesystem::path file, const JournalTiming& timing, const std::atomic<bool>& cancelled,
                         JournalTeller& teller)
    : m_file(std::move(file))
    , m_timing(timing)
    , m_cancelled(cancelled)
    , m_teller(teller)
{
}

JournalFile::~JournalFile() = default;

void JournalFile::drop()
{
    m_db.reset();
}

int JournalFile::onBusy(void* file, int attempts)
{
    const auto& self = *static_cast<JournalFile*>(file);
    constexpr auto kPause = std::chrono::milliseconds(10);
    if (self.m_cancelled || attempts * kPause >= self.m_timing.busyTimeout)
        return 0;
    std::this_thread::sleep_for(kPause);
    return 1;
}

bool JournalFile::setAside(Aside reason, const std::string& detail)
{
    m_db.reset();
    const std::string why = reason == Aside::Damaged ? "damaged" : reason == Aside::Foreign ? "foreign" : "orphaned";
    // Never over another file: a second one in the same second gets a number.
    const std::string base = m_file.string() + "." + why + "-" + stamp();
    std::filesystem::path aside = base;
    for (int n = 2; present(aside) || present(beside(aside, "-wal")) || present(beside(aside, "-shm")); ++n)
        aside = base + "-" + std::to_string(n);
    // The -wal and -shm go with it: a WAL left behind would be replayed into the new journal.
    for (const char* suffix : {"", "-wal", "-shm"}) {
        const auto from = beside(m_file, suffix);
        if (!present(from))
            continue;
        std::error_code error;
        std::filesystem::rename(from, beside(aside, suffix), error);
        if (error) {
            m_stuck = true;
            m_teller.tell(JournalTrouble::Aside, from.string() + " is " + why + " (" + detail
                                                     + ") but cannot be moved aside: " + error.message()
                                                     + "; nothing is written to the journal, and its trials wait");
            return false;
        }
    }
    m_teller.tell(JournalTrouble::SetAside, int(reason),
                  m_file.string() + " is " + why + " (" + detail + "): it is kept as " + aside.string()
                      + ", and a new journal begins");
    return true;
}

JournalFile::Opened JournalFile::open()
{
    m_db.reset();
    if (m_newer)
        return Opened::Newer;
    if (m_stuck)
        return Opened::Retry;
    std::error_code error;
    std::filesystem::create_directories(m_file.parent_path(), error);
    if (error) {
        m_teller.tell(JournalTrouble::Folder, "no journal: its folder " + m_file.parent_path().string()
                                                  + " cannot be made: " + error.message());
        return Opened::Retry;
    }
    for (const char* suffix : {"", "-wal", "-shm"}) {
        // A link is never followed: whatever it leads to is no journal of this game's, and
        // its -wal and -shm would be made beside that.
        const auto path = beside(m_file, suffix);
        const auto why = std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))
                             ? std::optional<std::string>("it is a symbolic link")
                             : notARegularFile(path);
        if (why) {
            m_teller.tell(JournalTrouble::NotAFile, "no journal: " + path.string() + " is not opened, for " + *why);
            return Opened::Retry;
        }
    }
    // A WAL whose database is gone belongs to no journal, and would be replayed into a new one.
    if (!present(m_file) && (present(beside(m_file, "-wal")) || present(beside(m_file, "-shm")))
        && !setAside(Aside::Orphaned, "a WAL without its journal"))
        return Opened::Retry;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            // Checked where a check is needed: a file this game did not itself leave.
            const bool check = present(m_file) && readStamp() != stampNow();
            m_db = std::make_unique<SqliteDatabase>(fileUri(m_file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            m_db->limitWork(m_timing.statementLimit, &m_cancelled);
            // Until the file is known to be a journal of this program's, closing it must not
            // checkpoint a WAL into it, nor remove that WAL.
            sqlite3_db_config(m_db->handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
            sqlite3_busy_handler(m_db->handle(), &JournalFile::onBusy, this);
            // One row now and then: no lookaside slots, and a small page cache, so that
            // a check does not leave a large journal's pages in the game's memory.
            sqlite3_db_config(m_db->handle(), SQLITE_DBCONFIG_LOOKASIDE, nullptr, 0, 0);
            m_db->execute("PRAGMA cache_size = -32");
            // The header and the schema are read at every opening: a file that is no
            // database fails here, and one of another program is told apart.
            const SchemaCheck schema = checkSchema(*m_db);
            if (schema.kind == SchemaCheck::Kind::Newer) {
                m_teller.tell(JournalTrouble::Newer, "the journal " + m_file.string()
                                                         + " was written by a newer version (schema "
                                                         + std::to_string(schema.version)
                                                         + "): it is left as it is, and the answers wait in "
                                                         + spillFile(m_file).string() + " for a game that knows that version");
                m_db.reset();
                m_newer = true;
                return Opened::Newer;
            }
            if (schema.kind == SchemaCheck::Kind::Foreign) {
                if (!setAside(Aside::Foreign, schema.why))
                    return Opened::Retry;
                continue;
            }
            if (check) {
                if (const auto damage = damageOf(*m_db)) {
                    if (!setAside(Aside::Damaged, *damage))
                        return Opened::Retry;
                    continue;
                }
            }
            sqlite3_db_config(m_db->handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
            m_db->execute("PRAGMA journal_mode = WAL");
            // The WAL files stay, so that the progress view can always read without making any.
            int persist = 1;
            sqlite3_file_control(m_db->handle(), "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
            if (schema.kind == SchemaCheck::Kind::Empty || schema.version < kJournalSchemaVersion) {
                if (!migrate())
                    return Opened::Retry;
            }
            m_opened = true;
            // What opening took and gave back (the schema's parsing, a check's pages) goes
            // back to the system rather than staying in this thread's heap.
            ::malloc_trim(0);
            return Opened::Open;
        } catch (const SqliteError& fault) {
            if (fault.damaged()) {
                if (!setAside(Aside::Damaged, fault.what()))
                    return Opened::Retry;
                continue;
            }
            m_db.reset();
            if (!(fault.primary() == SQLITE_INTERRUPT && m_cancelled)) {
                const std::string why = fault.primary() == SQLITE_INTERRUPT
                                            ? "it took longer than " + std::to_string(m_timing.statementLimit.count()) + " ms"
                                            : std::string(fault.what());
                m_teller.tell(JournalTrouble::Open, fault.primary(),
                              "no journal now: " + m_file.string() + " cannot be opened: " + why
                                  + "; they are kept and tried again");
            }
            return Opened::Retry;
        } catch (const std::exception& fault) {
            m_db.reset();
            m_teller.tell(JournalTrouble::Open, SQLITE_IOERR,
                          "no journal now: " + m_file.string() + " cannot be opened: " + fault.what()
                              + "; they are kept and tried again");
            return Opened::Retry;
        }
    }
    m_teller.tell(JournalTrouble::NotBegun, "no journal: " + m_file.string() + " cannot be begun anew");
    m_db.reset();
    return Opened::Retry;
}

std::optional<std::string> JournalFile::damageOf(SqliteDatabase& db)
{
    // Its length is the file's, not a stuck statement's: no time limit, only the end of the game.
    db.limitWork(std::chrono::milliseconds(0), &m_cancelled);
    SqliteStatement check(db, "PRAGMA quick_check(1000)");
    std::optional<std::string> first;
    std::size_t problems = 0;
    while (check.step()) {
        // One row holds every problem of a database, a line each, under a heading.
        std::string text = check.text(0);
        text.erase(0, text.starts_with("*** in database main ***\n") ? 25 : 0);
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            // A row that breaks a rule hides nothing else: the reader leaves it out and counts it.
            if (line == "ok" || line.starts_with("NULL value in ") || line.starts_with("CHECK constraint failed"))
                continue;
            if (!first)
                first = line;
            ++problems;
        }
    }
    db.limitWork(m_timing.statementLimit, &m_cancelled);
    if (!first)
        return std::nullopt;
    return problems > 1 ? *first + ", and " + std::to_string(problems - 1) + " more" : *first;
}

bool JournalFile::migrate()
{
    // Once, in one transaction: its length is the journal's, not a stuck statement's, so
    // no time limit, and the game's end interrupts it and leaves the journal as it was.
    m_db->limitWork(std::chrono::milliseconds(0), &m_cancelled);
    m_db->execute("BEGIN IMMEDIATE");
    // Another game may have taken it up meanwhile.
    const SchemaCheck now = checkSchema(*m_db);
    const bool ours = now.kind == SchemaCheck::Kind::Empty || now.kind == SchemaCheck::Kind::Known;
    if (ours && now.version < kJournalSchemaVersion) {
        const bool told = now.kind == SchemaCheck::Kind::Known;
        const auto began = std::chrono::steady_clock::now();
        migrateSchema(*m_db, now.version);
        if (told) {
            qCWarning(lcJournal, "the journal %s was taken up from schema %lld to %d in %lld ms", m_file.c_str(),
                      static_cast<long long>(now.version), kJournalSchemaVersion,
                      static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 std::chrono::steady_clock::now() - began)
                                                 .count()));
        }
    }
    m_db->execute("COMMIT");
    m_db->limitWork(m_timing.statementLimit, &m_cancelled);
    if (!ours) {
        m_db.reset();
        return false;
    }
    return true;
}

std::string JournalFile::stampNow() const
{
    std::string stamp = "tonarika-journal-left-1";
    for (const char* suffix : {"", "-wal"}) {
        struct stat status {};
        if (::lstat(beside(m_file, suffix).c_str(), &status) != 0) {
            stamp += " -";
            continue;
        }
        stamp += " " + std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino) + ":"
                 + std::to_string(status.st_size) + ":" + std::to_string(status.st_mtim.tv_sec) + "."
                 + std::to_string(status.st_mtim.tv_nsec);
    }
    return stamp;
}

std::string JournalFile::readStamp() const
{
    OutsideFile stampFile = OutsideFile::toRead(beside(m_file, ".checked"), OutsideFile::Links::Refused);
    return stampFile.bytes(511).value_or(std::string());
}

void JournalFile::close()
{
    if (!m_db)
        return;
    const bool whole = m_opened;
    // The WAL goes into the journal and is emptied: the next opening has none to read
    // through, however much this game wrote, and the stamp is of the files as they stay.
    if (whole) {
        try {
            m_db->beginWork();
            m_db->execute("PRAGMA wal_checkpoint(TRUNCATE)");
        } catch (const SqliteError&) {
            // Another game reads or writes it: it checkpoints later.
        }
    }
    m_db.reset();
    m_opened = false;
    if (!whole)
        return;
    const std::string stamp = stampNow();
    const auto stampFile = beside(m_file, ".checked");
    const auto written = beside(m_file, (".checked-" + std::to_string(::getpid())).c_str());
    const int fd = ::open(written.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const bool done = ::write(fd, stamp.data(), stamp.size()) == ssize_t(stamp.size()) && ::fsync(fd) == 0;
    ::close(fd);
    std::error_code error;
    if (done)
        std::filesystem::rename(written, stampFile, error);
    if (!done || error)
        std::filesystem::remove(written, error);
}

}  // namespace tonarika
