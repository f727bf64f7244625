#pragma once

// own
#include "Note.h"

// std
#include <array>
#include <cmath>

namespace tonarika::audio {

// MIDI note number of each note index (C4 = 60), for the renderer and the pitch checks.
inline constexpr std::array<int, kNoteCount> kMidiNote = [] {
    std::array<int, kNoteCount> midi{};
    for (std::size_t note = 0; note < midi.size(); ++note)
        midi[note] = 60 + kSemitone[note];
    return midi;
}();

// Equal temperament, A4 = 440 Hz.
inline double noteFrequency(int index)
{
    return 440.0 * std::pow(2.0, (kMidiNote.at(static_cast<std::size_t>(index)) - 69) / 12.0);
}

}  // namespace tonarika::audio
