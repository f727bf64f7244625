#pragma once

// std
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace tonarika {

// Raised when no sound can be played at all (no audio device).
// A missing or unreadable file is not an error: the player sounds its alert tone.
class SoundError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What became of one play() of a note.
struct Playback {
    enum class State {
        Waiting,   // its note is still loading, and starts when it is loaded
        Sounding,  // its note's first audible sample reaches the sound device at `startedAt`
        Alert,     // the alert tone sounded in its place
        Dropped,   // another play came before it could start, or nothing could sound
    };
    State state = State::Dropped;
    // On the monotonic clock: when the first audible sample reaches the device, as the
    // output reckons it when the note starts: the sound server's read position, its
    // period and its reported latency to the device counted in. It may lie a few
    // milliseconds after the play() that started it, never before.
    std::chrono::steady_clock::time_point startedAt;
};

// Plays one wave file in the background and returns at once; a new file cuts
// off the one still sounding.
class Player {
public:
    using Ticket = std::uint64_t;

    virtual ~Player() = default;
    // wavFile is relative ("wav/Do.wav"). Throws SoundError when nothing can sound.
    // The ticket tells later what became of this play.
    virtual Ticket play(std::string_view wavFile) = 0;
    virtual Playback playback(Ticket ticket) const = 0;
};

}  // namespace tonarika
