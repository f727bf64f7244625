#pragma once

// own
#include "GameClock.h"
#include "Journal.h"
#include "WeakNoteRules.h"

// std
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tonarika {

class JournalReader;

// The weak notes' weights, from the journal of the last days and from the answers of this
// session as they come. It stands between the game and its journal: each trial goes on to
// the journal and counts at once, so the weights are fresh after every answer; the journal
// is read once, on a thread of its own, the first time the weights are asked for. Nothing
// here keeps the window's thread waiting: until that reading is done, this session's
// answers alone count.
class WeakNotes : public Journal, public NoteWeightsSource {
public:
    WeakNotes(Journal& journal, std::filesystem::path file, const GameClock& clock);
    ~WeakNotes() override;
    WeakNotes(const WeakNotes&) = delete;
    WeakNotes& operator=(const WeakNotes&) = delete;

    // Journal
    void record(const Trial& trial) override;
    // NoteWeightsSource
    std::optional<NoteWeights> noteWeights(Mode mode) const override;

    // Blocks until the journal has been read; for tests and benchmarks.
    void waitUntilRead() const;

private:
    // What the reading thread and the window's share.
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::vector<AnswerRecord> read;     // from the journal, once read
        std::vector<AnswerRecord> session;  // this session's, not among them
        bool started = false;
        bool finished = false;
        std::shared_ptr<JournalReader> reader;
        std::thread thread;
    };
    static void read(Shared& shared, std::int64_t sinceMs);

    Journal& m_journal;
    std::filesystem::path m_file;
    const GameClock& m_clock;
    const std::unique_ptr<Shared> m_shared = std::make_unique<Shared>();
};

}  // namespace tonarika
