#include "JournalWriter.h"

// own
#include "JournalSchema.h"
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

std::int64_t utcOffsetAt(std::int64_t utcMs)
{
    const std::time_t seconds = std::time_t(utcMs / 1000);
    std::tm local{};
    return ::localtime_r(&seconds, &local) ? local.tm_gmtoff : 0;
}

JournalWriter::JournalWriter(std::filesystem::path file, JournalTiming timing)
    : m_file(std::move(file))
    , m_timing(timing)
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    m_session = std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()) + "-"
                + std::to_string(::getpid());
}

JournalWriter::~JournalWriter() = default;

void JournalWriter::tell(const std::string& kind, const std::string& text)
{
    if (m_told.insert(kind).second)
        qCWarning(lcJournal, "%s", text.c_str());
}

int JournalWriter::onBusy(void* writer, int attempts)
{
    const auto& self = *static_cast<JournalWriter*>(writer);
    constexpr auto kPause = std::chrono::milliseconds(10);
    if (self.m_cancelled || attempts * kPause >= self.m_timing.busyTimeout)
        return 0;
    std::this_thread::sleep_for(kPause);
    return 1;
}

bool JournalWriter::setAside(const std::string& why, const std::string& detail)
{
    m_db.reset();
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
            tell("aside", from.string() + " is " + why + " (" + detail + ") but cannot be moved aside: " + error.message()
                              + "; nothing is written to the journal, and its trials wait");
            return false;
        }
    }
    tell(why, m_file.string() + " is " + why + " (" + detail + "): it is kept as " + aside.string()
                  + ", and a new journal begins");
    return true;
}

JournalWriter::Outcome JournalWriter::failed(const std::exception& fault, const std::string& what)
{
    const auto* sqlite = dynamic_cast<const SqliteError*>(&fault);
    const int code = sqlite ? sqlite->primary() : SQLITE_IOERR;
    if (code == SQLITE_INTERRUPT && m_cancelled)
        return Outcome::Retry;
    if (code == SQLITE_CONSTRAINT || code == SQLITE_MISMATCH || code == SQLITE_TOOBIG || code == SQLITE_RANGE) {
        tell("refused " + std::to_string(code), "a trial is refused by " + m_file.string() + ": " + fault.what());
        return Outcome::Refused;
    }
    const std::string why = code == SQLITE_INTERRUPT ? "it took longer than "
                                                           + std::to_string(m_timing.statementLimit.count()) + " ms"
                                                     : std::string(fault.what());
    tell(what + " " + std::to_string(code),
         (what == "open" ? "no journal now: " + m_file.string() + " cannot be opened: "
                         : "trials cannot be added to " + m_file.string() + " now: ")
             + why + "; they are kept and tried again");
    // A connection that failed this way may be left in any state, and one that failed to
    // open has not been checked, taken up or given WAL: the next try opens anew. Only a
    // write that met another game's lock keeps its connection.
    if (what == "open" || (code != SQLITE_BUSY && code != SQLITE_LOCKED))
        m_db.reset();
    return Outcome::Retry;
}

JournalWriter::Outcome JournalWriter::open()
{
    m_db.reset();
    if (m_newer)
        return Outcome::Elsewhere;
    if (m_stuck)
        return Outcome::Retry;
    std::error_code error;
    std::filesystem::create_directories(m_file.parent_path(), error);
    if (error) {
        tell("folder", "no journal: its folder " + m_file.parent_path().string() + " cannot be made: " + error.message());
        return Outcome::Retry;
    }
    for (const char* suffix : {"", "-wal", "-shm"}) {
        // A link is never followed: whatever it leads to is no journal of this game's, and
        // its -wal and -shm would be made beside that.
        const auto path = beside(m_file, suffix);
        const auto why = std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))
                             ? std::optional<std::string>("it is a symbolic link")
                             : notARegularFile(path);
        if (why) {
            tell("not a file", "no journal: " + path.string() + " is not opened, for " + *why);
            return Outcome::Retry;
        }
    }
    // A WAL whose database is gone belongs to no journal, and would be replayed into a new one.
    if (!present(m_file) && (present(beside(m_file, "-wal")) || present(beside(m_file, "-shm")))
        && !setAside("orphaned", "a WAL without its journal"))
        return Outcome::Retry;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            // Checked where a check is needed: a file this game did not itself leave.
            const bool check = present(m_file) && readStamp() != stampNow();
            m_db = std::make_unique<SqliteDatabase>(fileUri(m_file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            m_db->limitWork(m_timing.statementLimit, &m_cancelled);
            // Until the file is known to be a journal of this program's, closing it must not
            // checkpoint a WAL into it, nor remove that WAL.
            sqlite3_db_config(m_db->handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
            sqlite3_busy_handler(m_db->handle(), &JournalWriter::onBusy, this);
            // One row now and then: no lookaside slots, and a small page cache, so that
            // a check does not leave a large journal's pages in the game's memory.
            sqlite3_db_config(m_db->handle(), SQLITE_DBCONFIG_LOOKASIDE, nullptr, 0, 0);
            m_db->execute("PRAGMA cache_size = -32");
            // The header and the schema are read at every opening: a file that is no
            // database fails here, and one of another program is told apart.
            const SchemaCheck schema = checkSchema(*m_db);
            if (schema.kind == SchemaCheck::Kind::Newer) {
                tell("newer", "the journal " + m_file.string() + " was written by a newer version (schema "
                                  + std::to_string(schema.version) + "): it is left as it is, and the answers wait in "
                                  + spillFile(m_file).string() + " for a game that knows that version");
                m_db.reset();
                m_newer = true;
                return Outcome::Elsewhere;
            }
            if (schema.kind == SchemaCheck::Kind::Foreign) {
                if (!setAside("foreign", schema.why))
                    return Outcome::Retry;
                continue;
            }
            if (check) {
                if (const auto damage = damageOf(*m_db)) {
                    if (!setAside("damaged", *damage))
                        return Outcome::Retry;
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
                    return Outcome::Retry;
            }
            m_opened = true;
            takeInSpill();
            // What opening took and gave back (the schema's parsing, a check's pages) goes
            // back to the system rather than staying in this thread's heap.
            ::malloc_trim(0);
            return Outcome::Written;
        } catch (const SqliteError& fault) {
            if (fault.damaged()) {
                if (!setAside("damaged", fault.what()))
                    return Outcome::Retry;
                continue;
            }
            return failed(fault, "open");
        } catch (const std::exception& fault) {
            return failed(fault, "open");
        }
    }
    tell("open", "no journal: " + m_file.string() + " cannot be begun anew");
    m_db.reset();
    return Outcome::Retry;
}

std::optional<std::string> JournalWriter::damageOf(SqliteDatabase& db)
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

bool JournalWriter::migrate()
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

std::int64_t JournalWriter::nextRun()
{
    return m_db->integer("SELECT coalesce(max(run), 0) + 1 FROM trials");
}

void JournalWriter::insert(const Trial& trial, std::int64_t utcOffsetS, std::int64_t run)
{
    SqliteStatement insert(*m_db,
                           "INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, "
                           "reaction_ms, plays, timbre, octave, guard, a4, test, input) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, trial.answeredAtMs)
        .bind(2, utcOffsetS)
        .bind(3, modeKey(trial.mode))
        .bind(4, run)
        .bind(5, std::int64_t(trial.asked))
        .bind(6, std::int64_t(trial.answered))
        .bind(8, std::int64_t(trial.plays))
        .bind(9, timbreKey(trial.timbre))
        .bind(10, std::int64_t(trial.octave))
        .bind(11, std::int64_t(trial.guard ? 1 : 0))
        .bind(12, std::int64_t(trial.a4));
    // A test's answers share its number: the one its run has, or the next after the largest.
    if (trial.mode == Mode::PitchTest) {
        SqliteStatement number(*m_db, "SELECT coalesce((SELECT test FROM trials WHERE run = ?1 AND mode = 'Test' LIMIT 1), "
                                      "(SELECT coalesce(max(test), 0) + 1 FROM trials))");
        number.bind(1, run);
        number.step();
        insert.bind(13, number.integer(0));
    } else {
        insert.bindNull(13);
    }
    if (trial.input)
        insert.bind(14, inputKey(*trial.input));
    else
        insert.bindNull(14);
    if (trial.reactionMs)
        insert.bind(7, std::int64_t(*trial.reactionMs));
    else
        insert.bindNull(7);
    insert.step();
}

std::string JournalWriter::stampNow() const
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

std::string JournalWriter::readStamp() const
{
    const int fd = ::open(beside(m_file, ".checked").c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    char text[512];
    struct stat status {};
    const ssize_t got = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) ? ::read(fd, text, sizeof text) : -1;
    ::close(fd);
    return got > 0 && std::size_t(got) < sizeof text ? std::string(text, std::size_t(got)) : std::string();
}

void JournalWriter::close()
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

void JournalWriter::takeInSpill()
{
    // This game's own file, and any another process left beside it.
    for (const auto& file : spillFiles(m_file))
        takeInSpill(file);
}

void JournalWriter::takeInSpill(const std::filesystem::path& file)
{
    TrialSpill spill(file);
    std::optional<TrialSpill::Taken> taken;
    try {
        taken = spill.take();
    } catch (const std::runtime_error& fault) {
        tell("spill", "the trials an earlier game could not write, in " + spill.file().string()
                          + ", cannot be taken in: " + fault.what());
        return;
    }
    if (!taken)
        return;
    try {
        m_db->beginWork();
        m_db->execute("BEGIN IMMEDIATE");
        // An earlier session's runs that had no number get the journal's next ones.
        std::map<std::string, std::int64_t> runs;
        for (const SpilledTrial& spilled : taken->trials) {
            std::int64_t run = spilled.runNumber;
            if (run == 0) {
                const auto known = runs.find(spilled.session);
                run = known != runs.end() ? known->second : (runs[spilled.session] = nextRun());
            }
            insert(spilled.trial, spilled.utcOffsetS, run);
        }
        m_db->execute("COMMIT");
    } catch (const SqliteError& fault) {
        try {
            m_db->execute("ROLLBACK");
        } catch (const SqliteError&) {
            // Nothing was begun.
        }
        tell("spill", "the trials in " + spill.file().string() + " cannot be added to the journal yet: " + fault.what());
        return;
    }
    spill.finish();
    std::string told = std::to_string(taken->trials.size()) + " trials an earlier game could not write are now in "
                       + m_file.string();
    if (taken->refused > 0)
        told += "; " + std::to_string(taken->refused) + " lines of " + spill.file().string() + " held no trial";
    qCWarning(lcJournal, "%s", told.c_str());
}

JournalWriter::Outcome JournalWriter::write(const std::vector<Trial>& trials)
{
    if (!m_db) {
        if (const Outcome opened = open(); opened != Outcome::Written)
            return opened;
    }
    // Answers another game spilled meanwhile go in as soon as this one writes.
    if (!spillFiles(m_file).empty())
        takeInSpill();
    if (trials.empty())
        return Outcome::Written;
    try {
        m_db->beginWork();
        m_db->execute("BEGIN IMMEDIATE");
        // A run gets the journal's next number with its first row, in the same
        // transaction, so that two games at once never share one.
        auto runs = m_runs;
        for (const Trial& trial : trials) {
            const auto run = runs.find(trial.run);
            const std::int64_t number = run != runs.end() ? run->second : (runs[trial.run] = nextRun());
            insert(trial, utcOffsetAt(trial.answeredAtMs), number);
        }
        // The game is ending, and these trials are going into the spill file instead.
        if (m_cancelled)
            throw SqliteError(SQLITE_INTERRUPT, "interrupted");
        m_db->execute("COMMIT");
        m_runs = std::move(runs);
        return Outcome::Written;
    } catch (const std::exception& fault) {
        if (m_db) {
            try {
                m_db->execute("ROLLBACK");
            } catch (const SqliteError&) {
                // Nothing was begun.
            }
        }
        if (const auto* sqlite = dynamic_cast<const SqliteError*>(&fault); sqlite && sqlite->damaged()) {
            setAside("damaged", fault.what());
            return Outcome::Retry;
        }
        return failed(fault, "write");
    }
}

}  // namespace tonarika
