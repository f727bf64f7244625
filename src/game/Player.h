#pragma once

// std
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tonarika {

// Raised when a sound cannot be played. A missing or unreadable file is not an error: the
// player sounds its stand-in or its alert tone.
class SoundError : public std::runtime_error {
public:
    enum class Cause {
        NoDevice,      // nothing can sound: no sound server and no sound device
        Reconnecting,  // the sound server went away, and is being connected to again
        Refused,       // the output refused this sound, for a reason of its own
    };
    explicit SoundError(const std::string& what, Cause cause = Cause::Refused)
        : std::runtime_error(what)
        , m_cause(cause)
    {
    }
    Cause cause() const { return m_cause; }
    // Nothing can sound now, whatever is asked: the player is told so, never asked a question.
    bool unavailable() const { return m_cause != Cause::Refused; }

private:
    Cause m_cause;
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

// One sound to play: a note file, or a pure tone the player computes, with the guard's
// tones before it where there are any.
struct SoundRequest {
    std::string file;       // relative ("wav/Do.wav", "notes/marimba/Do3.flac"); empty for a pure tone
    std::string standIn;    // played in its place where `file` is missing or refused
    double hz = 0.0;        // the pure tone's pitch, where there is no file
    std::vector<double> guardTones;  // in Hz, sounded one after another before the note
    int a4 = 440;           // the pitch standard a file's note is retuned to (the files are at 440 Hz)
    friend bool operator==(const SoundRequest&, const SoundRequest&) = default;
};

// Plays one sound in the background and returns at once; a new one cuts off the one
// still sounding.
class Player {
public:
    using Ticket = std::uint64_t;

    virtual ~Player() = default;
    // Throws SoundError when nothing can sound. The ticket tells later what became of
    // this play; its start is the note's own, after any guard tones.
    virtual Ticket play(const SoundRequest& request) = 0;
    virtual Playback playback(Ticket ticket) const = 0;
    // A sound that is likely to be asked soon: a player that loads its sounds may load it
    // now, so that its first play starts at once.
    virtual void prepare(const SoundRequest& request) { (void)request; }

    Ticket play(std::string_view wavFile) { return play(SoundRequest{std::string(wavFile), {}, 0.0, {}, 440}); }
};

}  // namespace tonarika
