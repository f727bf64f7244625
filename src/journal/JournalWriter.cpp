#include "JournalWriter.h"

// own
#include "SpillIntake.h"
#include "SqliteDatabase.h"
#include "TrialSpill.h"

// SQLite
#include <sqlite3.h>

// system
#include <unistd.h>

// std
#include <chrono>

namespace tonarika {

JournalWriter::JournalWriter(std::filesystem::path file, JournalTiming timing)
    : m_timing(timing)
    , m_file(std::move(file), m_timing, m_cancelled, m_teller)
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    m_session = std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()) + "-"
                + std::to_string(::getpid());
}

JournalWriter::Outcome JournalWriter::write(const std::vector<Trial>& trials)
{
    const std::filesystem::path& journal = m_file.path();
    if (!m_file.db()) {
        switch (m_file.open()) {
        case JournalFile::Opened::Newer: return Outcome::Elsewhere;
        case JournalFile::Opened::Retry: return Outcome::Retry;
        case JournalFile::Opened::Open: break;
        }
        takeInSpills(journal, *m_file.db(), m_store, m_teller);
    } else if (!spillFiles(journal).empty()) {
        // Answers another game spilled meanwhile go in as soon as this one writes.
        takeInSpills(journal, *m_file.db(), m_store, m_teller);
    }
    if (trials.empty())
        return Outcome::Written;
    try {
        m_store.write(*m_file.db(), trials, m_cancelled);
        return Outcome::Written;
    } catch (const SqliteError& fault) {
        if (fault.damaged()) {
            m_file.setAsideDamaged(fault.what());
            return Outcome::Retry;
        }
        const int code = fault.primary();
        if (code == SQLITE_INTERRUPT && m_cancelled)
            return Outcome::Retry;
        if (code == SQLITE_CONSTRAINT || code == SQLITE_MISMATCH || code == SQLITE_TOOBIG || code == SQLITE_RANGE) {
            m_teller.tell(JournalTrouble::Refused, code, "a trial is refused by " + journal.string() + ": " + fault.what());
            return Outcome::Refused;
        }
        const std::string why = code == SQLITE_INTERRUPT
                                    ? "it took longer than " + std::to_string(m_timing.statementLimit.count()) + " ms"
                                    : std::string(fault.what());
        m_teller.tell(JournalTrouble::Write, code,
                      "trials cannot be added to " + journal.string() + " now: " + why + "; they are kept and tried again");
        // A connection that failed this way may be left in any state: the next try opens
        // anew. Only a write that met another game's lock keeps its connection.
        if (code != SQLITE_BUSY && code != SQLITE_LOCKED)
            m_file.drop();
        return Outcome::Retry;
    } catch (const std::exception& fault) {
        m_teller.tell(JournalTrouble::Write, SQLITE_IOERR,
                      "trials cannot be added to " + journal.string() + " now: " + fault.what()
                          + "; they are kept and tried again");
        m_file.drop();
        return Outcome::Retry;
    }
}

}  // namespace tonarika
