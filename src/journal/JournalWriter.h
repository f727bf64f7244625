#pragma once

// own
#include "Journal.h"
#include "JournalFile.h"
#include "JournalStore.h"
#include "JournalTeller.h"

// std
#include <atomic>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tonarika {

// The writer thread's side of the journal: the file opened as one of unknown origin, the
// trials written into its table, and what an earlier game left in a spill file taken in.
// Used by one thread; only cancel() comes from another.
class JournalWriter {
public:
    enum class Outcome {
        Written,    // in the journal
        Retry,      // not now (a lock, a full disk, no folder yet): the same trials again later
        Refused,    // never: a trial the schema refuses
        Elsewhere,  // never here: the journal is of a newer version, and the trials belong in the spill file
    };

    JournalWriter(std::filesystem::path file, JournalTiming timing);
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Writes the trials in one transaction, or none of them; with none, opens the journal.
    Outcome write(const std::vector<Trial>& trials);
    // Closes the journal, and where it was open and whole, notes the file as this game left
    // it, so that the next opening need not check it again.
    void close() { m_file.close(); }
    // Ends the statement under way at once, and every later one (from any thread).
    void cancel() { m_cancelled = true; }
    // The journal's number for each run of this session that has one.
    const std::map<std::int64_t, std::int64_t>& runs() const { return m_store.runs(); }
    // This session's name, for the runs that have no number yet.
    const std::string& session() const { return m_session; }

private:
    JournalTiming m_timing;
    std::atomic<bool> m_cancelled{false};
    JournalTeller m_teller;
    JournalFile m_file;
    JournalStore m_store;
    std::string m_session;
};

}  // namespace tonarika
