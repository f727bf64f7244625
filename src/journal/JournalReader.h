#pragma once

// own
#include "Mode.h"
#include "Note.h"

// std
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tonarika {

// One trial as the journal holds it.
struct TrialRow {
    std::int64_t id = 0;
    std::int64_t answeredAtMs = 0;  // UTC
    std::int32_t utcOffsetS = 0;    // the player's offset from UTC at that moment
    Mode mode = Mode::Easy;
    std::int64_t run = 0;
    NoteIndex asked = 0;
    NoteIndex answered = 0;
    std::optional<std::uint32_t> reactionMs;
    std::uint32_t plays = 1;
    bool right() const { return asked == answered; }
    friend bool operator==(const TrialRow&, const TrialRow&) = default;
};

// Reads the journal without ever changing it: read-only, and, where the game has left no
// WAL files beside it, as an immutable file, so that reading makes none. It reads while
// the game writes, and each update() takes only the rows added since the last.
class JournalReader {
public:
    explicit JournalReader(std::filesystem::path file);

    // Brings the rows up to date; true when they changed. A journal that is not there is
    // no fault: it has no rows.
    bool update();

    const std::filesystem::path& file() const { return m_file; }
    const std::vector<TrialRow>& rows() const { return m_rows; }
    bool exists() const { return m_exists; }
    // Why the journal could not be read; nothing when it was, or is not there.
    const std::optional<std::string>& fault() const { return m_fault; }

private:
    std::filesystem::path m_file;
    std::uint64_t m_inode = 0;
    std::vector<TrialRow> m_rows;
    bool m_exists = false;
    std::optional<std::string> m_fault;
};

}  // namespace tonarika
