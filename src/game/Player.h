#pragma once

// std
#include <stdexcept>
#include <string_view>

namespace tonarika {

// Raised when no sound can be played at all (no audio device).
// A missing or unreadable file is not an error: the player sounds its alert tone.
class SoundError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Plays one wave file in the background and returns at once; a new file cuts
// off the one still sounding.
class Player {
public:
    virtual ~Player() = default;
    // wavFile is relative ("wav/Do.wav"). Throws SoundError when nothing can sound.
    virtual void play(std::string_view wavFile) = 0;
};

}  // namespace tonarika
