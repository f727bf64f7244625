#pragma once

// own
#include "Journal.h"
#include "Mode.h"
#include "Note.h"
#include "Timbre.h"

// std
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tonarika {

class SqliteDatabase;

// Why a journal was not read, or not all of it.
struct JournalFault {
    enum class Kind {
        NotAFile,   // a folder, a FIFO, a device: never opened
        Foreign,    // tables, triggers or views that are not the game's
        Newer,      // written by a newer version of the game
        Damaged,    // no database, or damaged pages
        TooSlow,    // reading took longer than its limit
        WalUnread,  // a WAL without its -shm, which could not be read
        Unreadable, // anything else SQLite said
    };
    Kind kind = Kind::Unreadable;
    std::string detail;  // what was found (for NotAFile: the file's name, then why), or what SQLite said
    friend bool operator==(const JournalFault&, const JournalFault&) = default;
};

// Why the journal was not read, for a line on stderr: in English, with every detail.
std::string describeJournalFault(const JournalFault& fault);

// Reads the journal without ever changing it: read-only, and, where the game has left no
// WAL files beside it, as an immutable file, so that reading makes none. It reads while
// the game writes, and each update() takes only the rows added since the last. A file of
// unknown origin is read as such: a regular file only, its schema checked before any row
// is read, every value checked against what a game writes, and the whole reading bounded
// in time and ended at once by cancel().
class JournalReader {
public:
    // `sinceUtcMs`: only the rows answered from then on, found through the time index.
    explicit JournalReader(std::filesystem::path file, std::chrono::milliseconds limit = kReadLimit,
                           std::optional<std::int64_t> sinceUtcMs = std::nullopt);
    // Only the last `perNote` rows of each note asked in Easy and in Hard, found through the
    // notes' index, however long the journal: what the learned rule needs; and where
    // `sinceUtcMs` is given, the rows answered from then on too, each row once. One reading.
    static JournalReader lastOfEachNote(std::filesystem::path file, int perNote,
                                        std::optional<std::int64_t> sinceUtcMs = std::nullopt);

    // Brings the rows up to date; true when they changed. A journal that is not there is
    // no fault: it has no rows.
    bool update();
    // Ends the reading under way, and every later one (from any thread).
    void cancel() { m_cancelled->store(true); }

    const std::filesystem::path& file() const { return m_file; }
    const std::vector<Trial>& rows() const { return m_rows; }
    // The moments of Practice's key presses, in the rows' range of time; they are no answers
    // and count only for the time practised.
    const std::vector<PracticeMoment>& presses() const { return m_presses; }
    bool exists() const { return m_exists; }
    // Why the journal could not be read; nothing when it was, or is not there.
    const std::optional<JournalFault>& fault() const { return m_fault; }
    // Rows with a value no game writes (a note out of range, a text for a number, a date
    // before 2000 or more than a day ahead, a black key asked in Easy), left out.
    std::size_t refusedRows() const { return m_refused; }

    static constexpr std::chrono::milliseconds kReadLimit{2000};
    // A WAL without its -shm is read from a private copy, up to this size.
    static constexpr std::uintmax_t kMaxCopyBytes = 256 * 1024 * 1024;

private:
    void read(const std::string& uri, int flags);
    void readPresses(SqliteDatabase& db);
    bool readCopy();

    std::filesystem::path m_file;
    std::chrono::milliseconds m_limit;
    std::optional<std::int64_t> m_since;
    int m_perNote = 0;
    std::shared_ptr<std::atomic<bool>> m_cancelled = std::make_shared<std::atomic<bool>>(false);
    std::uint64_t m_inode = 0;
    std::int64_t m_lastId = 0;
    std::vector<Trial> m_rows;
    std::int64_t m_lastPressId = 0;
    std::vector<PracticeMoment> m_presses;
    std::size_t m_refused = 0;
    bool m_exists = false;
    std::optional<JournalFault> m_fault;
};

}  // namespace tonarika
