#pragma once

// own
#include "Journal.h"
#include "OutsideFile.h"

// std
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tonarika {

// A trial that could not reach the journal before the game ended, as the next start
// writes it in: the trial, with the offset from UTC at its moment and its run in the
// session, and that run as the journal knows it: either the journal's number for it or,
// where the run had none yet, a name that no other game's run shares.
struct SpilledTrial {
    Trial trial;
    std::int64_t runNumber = 0;  // 0: none yet
    std::string session;         // this session and its run, where runNumber is 0
    friend bool operator==(const SpilledTrial&, const SpilledTrial&) = default;
};

// One line of text each, of tab-separated named fields, that the reader takes back exactly.
std::string spillLine(const SpilledTrial& spilled);
// Nothing where the line is not one that spillLine() writes with values a game gives.
std::optional<SpilledTrial> parseSpillLine(std::string_view line);

// The plain-text file beside the journal that keeps the answers the journal could not
// take before the game ended. Appends are whole lines under a lock, so that two games
// ending at once mix nothing; the file is never followed through a link, and is read only
// if it is a regular file of a sane size. A lock is never waited for: where another
// process holds the file, the lines go to a file of this process's own beside it.
class TrialSpill {
public:
    explicit TrialSpill(std::filesystem::path file);

    const std::filesystem::path& file() const { return m_file; }
    // Adds the trials; why it could not, or nothing. `into`: the file they went to.
    std::optional<std::string> append(const std::vector<SpilledTrial>& trials,
                                      std::filesystem::path* into = nullptr) const;

    // What the file holds, locked against appends until finish() or the object ends.
    struct Taken {
        std::vector<SpilledTrial> trials;
        std::size_t refused = 0;  // lines that were no trial
    };
    // Nothing where there is no file, or another process holds it now; throws
    // std::runtime_error where it cannot be read.
    std::optional<Taken> take();
    // Removes the file taken: its trials are in the journal.
    void finish();

    static constexpr std::uintmax_t kMaxBytes = 32 * 1024 * 1024;

private:
    std::filesystem::path m_file;
    std::optional<OutsideFile> m_taken;  // the file taken, locked
};

// The spill file beside a journal.
std::filesystem::path spillFile(const std::filesystem::path& journal);
// Every spill file beside a journal: its own, and those of processes that found it held
// ("trials.sqlite.unwritten-<pid>").
std::vector<std::filesystem::path> spillFiles(const std::filesystem::path& journal);

}  // namespace tonarika
