#pragma once

// own
#include "Mode.h"
#include "NoteSet.h"

// std
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tonarika {

// A learned note: at least this many questions, nine in ten of its last 20 right at the
// first answer, and the median time of those right answers no more than 2 s. The game's
// growing set and the companion's notes page both go by it.
inline constexpr int kLearnedQuestions = 20;
inline constexpr int kLearnedRight = 18;
inline constexpr std::uint32_t kLearnedMedianMs = 2000;

// One first answer to a question on a note, as the rule needs it.
struct NoteAnswer {
    bool right = false;
    std::optional<std::uint32_t> reactionMs;
    friend bool operator==(const NoteAnswer&, const NoteAnswer&) = default;
};

// The median of some times; the mean of the middle two for an even count.
std::optional<double> medianMs(std::vector<std::uint32_t> times);

// Whether a note is learned by its answers, the earliest first.
bool isLearned(std::span<const NoteAnswer> answers);

// The order in which the growing set takes notes: ド ミ ソ, then ラ ファ レ シ, then the
// black keys ファ# ド# ソ# レ# ラ#. Easy stops at its seven white keys.
inline constexpr std::array<NoteIndex, kNoteCount> kGrowingOrder{0, 2, 4, 5, 3, 1, 6, 9, 7, 10, 8, 11};
inline constexpr int kGrowingStart = 3;

// The growing set of a mode: the first three of the order, and one more each time every
// note already in it is learned in that mode.
NoteSet growingSet(Mode mode, NoteSet learned);
// The note the growing set of a mode takes next, or nothing where it holds the mode's all.
std::optional<NoteIndex> nextGrowingNote(Mode mode, NoteSet set);

// Which notes of each mode are learned, from the journal and this session's answers. Must
// never keep the window's thread waiting: nothing where that is not known yet.
class LearnedNotesSource {
public:
    virtual ~LearnedNotesSource() = default;
    virtual std::optional<NoteSet> learnedNotes(Mode mode) const = 0;
};

}  // namespace tonarika
