#pragma once

// own
#include "DailyRules.h"
#include "Mode.h"
#include "Note.h"
#include "Timbre.h"

// std
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tonarika {

// How an answer was given: an on-screen key (by the mouse, or its button by keyboard
// focus), a letter key, or a MIDI keyboard; as the journal keeps it.
enum class AnswerInput { Mouse, Keys, Midi, Voice };
inline constexpr std::array<std::string_view, 4> kAnswerInputKeys{"mouse", "keys", "midi", "voice"};
constexpr std::string_view inputKey(AnswerInput input) { return kAnswerInputKeys[std::size_t(input)]; }
constexpr std::optional<AnswerInput> inputFromKey(std::string_view key)
{
    for (std::size_t i = 0; i < kAnswerInputKeys.size(); ++i) {
        if (kAnswerInputKeys[i] == key)
            return AnswerInput(i);
    }
    return std::nullopt;
}

// One counted question as the journal keeps it, written when it is first answered, and as
// it is read back.
struct Trial {
    std::int64_t answeredAtMs = 0;  // UTC, milliseconds since 1970
    Mode mode = Mode::Easy;         // Easy, Hard or PitchTest; Prac for a key pressed in Practice
    // The game's: this session's run, 1 at start-up, one more after each record and clear.
    // Read back: the journal's number of the run.
    std::int64_t run = 1;
    NoteIndex asked = 0;
    NoteIndex answered = 0;         // the first answer
    // From the first samples of the question's first play to the answer; none where
    // that play did not sound its note (still loading, the alert tone, no device).
    std::optional<std::uint32_t> reactionMs;
    std::uint32_t plays = 1;        // the first play and the replays before the answer
    Timbre timbre = Timbre::Piano;  // what the question sounded like
    int octave = kHomeOctave;
    bool guard = false;             // whether the guard's tones came before it
    int a4 = 440;                   // the pitch standard it sounded at, in Hz
    std::optional<AnswerInput> input{};  // none in what an earlier version wrote
    // The answer window in force, in milliseconds: none where it was off, and in what an
    // earlier version wrote.
    std::optional<std::uint32_t> windowMs{};
    // A sung answer's signed error from the note named, in whole cents; none for a key's.
    std::optional<std::int32_t> centsOff{};
    // What the journal adds as it keeps it: the player's offset from UTC at that moment,
    // for a test's answer its test's number (0 for any other), and its row.
    std::int32_t utcOffsetS = 0;
    std::int64_t test = 0;
    std::int64_t id = 0;

    // The note named, in time: a right note too slow for the window counts as a miss.
    bool right() const { return sameNote() && !tooLate(reactionMs, windowMs); }
    bool sameNote() const { return asked == answered; }
    friend bool operator==(const Trial&, const Trial&) = default;
};

// Keeps one trial per counted question. Must not throw, and must not keep the window's
// thread waiting.
class Journal {
public:
    virtual ~Journal() = default;
    virtual void record(const Trial& trial) = 0;
};

}  // namespace tonarika
