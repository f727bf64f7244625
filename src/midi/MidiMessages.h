#pragma once

// own
#include "Note.h"

// std
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

namespace tonarika {

// What a MIDI keyboard asks of the game: a key of the twelve pressed, or Listen.
struct MidiCommand {
    enum class Kind { Note, Listen };
    Kind kind = Kind::Note;
    NoteIndex note = 0;  // for Kind::Note: C of any octave is ド
    friend bool operator==(const MidiCommand&, const MidiCommand&) = default;
};

// Several note-ons this close together (a chord, a slip onto the next key) answer once.
inline constexpr std::chrono::milliseconds kChordSpan{30};

// Turns the messages of one keyboard into commands, one message at a time, as they arrive:
// a note-on with a velocity above 0, on any channel, is its note's key, the first of a
// chord alone; a note-on of velocity 0 is a note-off, which does nothing; the sustain
// pedal (controller 64) going down, from below 64 to 64 or above, is Listen. Anything
// else (system messages, bytes that are no MIDI) does nothing.
class MidiGate {
public:
    using Clock = std::chrono::steady_clock;

    std::optional<MidiCommand> take(std::span<const std::uint8_t> message, Clock::time_point arrived);

private:
    std::optional<Clock::time_point> m_answered;  // the last note-on that answered
    bool m_pedalDown = false;
};

}  // namespace tonarika
