#pragma once

// own
#include "Journal.h"
#include "LearnedRule.h"

// std
#include <array>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tonarika {

class JournalReader;

// Which notes are learned in each mode, by the rule the companion's notes page shows, from
// each note's last answers in the journal and this session's answers as they come. Like
// the weak notes it stands between the game and its journal: each trial goes on to the
// journal and counts at once. The journal is read once, through its notes' index, on a
// thread of its own; until then nothing is known, and the window's thread never waits.
class LearnedNotes : public Journal, public LearnedNotesSource {
public:
    LearnedNotes(Journal& journal, std::filesystem::path file);
    ~LearnedNotes() override;
    LearnedNotes(const LearnedNotes&) = delete;
    LearnedNotes& operator=(const LearnedNotes&) = delete;

    // Journal
    void record(const Trial& trial) override;
    // LearnedNotesSource: the first call starts the reading.
    std::optional<NoteSet> learnedNotes(Mode mode) const override;

    // Blocks until the journal has been read; for tests.
    void waitUntilRead() const;

private:
    // Each note's answers in each mode, the earliest first.
    using Answers = std::array<std::array<std::vector<NoteAnswer>, kNoteCount>, 2>;
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        Answers read;
        std::vector<Trial> session;  // this session's trials, in order
        bool started = false;
        bool finished = false;
        std::shared_ptr<JournalReader> reader;  // while it reads
        std::thread thread;
    };
    static void readJournal(Shared& shared, std::filesystem::path file);

    Journal& m_journal;
    std::filesystem::path m_file;
    const std::unique_ptr<Shared> m_shared = std::make_unique<Shared>();
};

}  // namespace tonarika
