#pragma once

// own
#include "Mode.h"
#include "Note.h"
#include "NoteSet.h"
#include "RandomSource.h"

// std
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tonarika {

// How much each note is to be asked, relative to the others.
using NoteWeights = std::array<double, kNoteCount>;

// One first answer, as the weights need it.
struct AnswerRecord {
    std::int64_t answeredAtMs = 0;  // UTC
    Mode mode = Mode::Easy;
    NoteIndex asked = 0;
    NoteIndex answered = 0;
    std::optional<std::uint32_t> reactionMs;
    bool late = false;  // the right note, later than the answer window: a miss
    friend bool operator==(const AnswerRecord&, const AnswerRecord&) = default;

    bool right() const { return asked == answered && !late; }
};

// The weights of the player's first answers over the last kWeakNoteDays in `mode`: every
// note starts at 1; a miss adds kMissedWeight to the note asked and kTakenForWeight to the
// note answered (for another note than the one asked; a right note too late is a miss of
// its own note alone); a right answer slower than kSlowMs adds kSlowWeight.
inline constexpr int kWeakNoteDays = 7;
inline constexpr double kMissedWeight = 5.0;
inline constexpr double kTakenForWeight = 1.5;
inline constexpr double kSlowWeight = 1.0;
inline constexpr std::uint32_t kSlowMs = 2000;
NoteWeights noteWeights(std::span<const AnswerRecord> answers, Mode mode, std::int64_t nowMs);

// No note's chance falls below this share of an even one.
inline constexpr double kLeastShare = 0.25;
// Nor rises above this share of the draw, or above an even share where that is more: a
// note far weaker than the rest, and the note it is taken for, would otherwise come in
// turns, and the player would answer the order rather than the pitch.
inline constexpr double kMostShare = 0.35;

// Each note's chance of being drawn among `notes` but prevNote, from the weights: in
// proportion to them, none below kLeastShare of an even share and none above kMostShare
// (or the even share, where that is more). Sums to 1.
std::array<double, kNoteCount> noteChances(const NoteWeights& weights, NoteSet notes, int prevNote);

// Draws a note by noteChances() with one random value.
int drawWeightedNote(RandomSource& random, NoteSet notes, int prevNote, const NoteWeights& weights);

// A note missed in this run comes back two, then four, then eight questions later, until
// it is answered right at the first try.
class ReaskSchedule {
public:
    // The first answer to question `question` (counted from 1) asking `note`.
    void answered(int note, bool right, std::uint32_t question);
    // The note due by question `question` that may be asked now (one of `notes`, not
    // prevNote), the one due longest first; nothing when none is.
    std::optional<int> due(std::uint32_t question, NoteSet notes, int prevNote) const;
    void clear() { m_entries.clear(); }

private:
    struct Entry {
        int note;
        std::uint32_t dueAt;
        std::uint32_t interval;
    };
    std::vector<Entry> m_entries;
};

// Where the game finds the weights, which it asks at each new question. Must never keep
// the window's thread waiting: nothing where they are not known yet.
class NoteWeightsSource {
public:
    virtual ~NoteWeightsSource() = default;
    virtual std::optional<NoteWeights> noteWeights(Mode mode) const = 0;
};

}  // namespace tonarika
