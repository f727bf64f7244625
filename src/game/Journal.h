#pragma once

// own
#include "Mode.h"
#include "Note.h"
#include "Timbre.h"

// std
#include <cstdint>
#include <optional>

namespace tonarika {

// One counted question as the journal keeps it, written when it is first answered.
struct Trial {
    std::int64_t answeredAtMs = 0;  // UTC, milliseconds since 1970
    Mode mode = Mode::Easy;         // Easy, Hard or Test; practice is never journalled
    std::uint32_t run = 1;          // this session's run: 1 at start-up, one more after each record and clear
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
