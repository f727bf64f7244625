#pragma once

// own
#include "AnswerListener.h"
#include "DailyRules.h"
#include "GameClock.h"
#include "LearnedRule.h"
#include "WeakNoteRules.h"

// std
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tonarika {

class JournalReader;

// The player's answers as practice needs them, for the weak notes' weights, for the
// notes learned and for the time practised today: the journal read once, on a thread of its own, the first time either is
// asked for (each note's last answers in Easy and in Hard, and the days the weights count),
// and this session's answers as the game gives them, each counted once. Nothing here keeps
// the window's thread waiting: until the reading is done, the weights count this session's
// answers alone, and no note is known to be learned.
class AnswerHistory : public AnswerListener, public NoteWeightsSource, public LearnedNotesSource {
public:
    AnswerHistory(std::filesystem::path journal, const GameClock& clock);
    ~AnswerHistory() override;
    AnswerHistory(const AnswerHistory&) = delete;
    AnswerHistory& operator=(const AnswerHistory&) = delete;

    // AnswerListener
    void answered(const Trial& trial) override;
    // NoteWeightsSource
    std::optional<NoteWeights> noteWeights(Mode mode) const override;
    // LearnedNotesSource: Easy's and Hard's.
    std::optional<NoteSet> learnedNotes(Mode mode) const override;
    // The session time practised on the local day of now, by the journal and this
    // session's answers and key presses; nothing until the journal has been read.
    std::optional<std::int64_t> practisedTodayMs() const;
    // Called after each answer or key press is counted (on the window's thread), and once
    // the journal has been read (on the reading thread), with the history locked: it may
    // post, and must not ask the history anything.
    void setOnChange(std::function<void()> onChange);

    // Blocks until the journal has been read; for tests and benchmarks.
    void waitUntilRead() const;

private:
    // What the reading thread and the window's share.
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::vector<AnswerRecord> read;     // from the journal, once read, the earliest first
        std::vector<AnswerRecord> session;  // this session's, not among them
        std::vector<PracticeMoment> readMoments;     // answers and presses, from the journal
        std::vector<PracticeMoment> sessionMoments;  // this session's, not among them
        std::function<void()> onChange;
        bool started = false;
        bool finished = false;
        std::shared_ptr<JournalReader> reader;  // while it reads
        std::thread thread;
    };
    // Starts the reading unless it has begun. Needs the lock.
    void startLocked() const;
    static void read(Shared& shared);

    std::filesystem::path m_journal;
    const GameClock& m_clock;
    const std::unique_ptr<Shared> m_shared = std::make_unique<Shared>();
};

}  // namespace tonarika
