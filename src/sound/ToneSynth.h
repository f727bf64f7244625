#pragma once

// own
#include "SoundOutput.h"

// std
#include <memory>
#include <vector>

namespace tonarika {

// The peak of a computed pure tone: a sine of this amplitude is as loud as the notes in
// the files, whose level the renderer sets.
inline constexpr double kPureToneAmplitude = 0.199;
inline constexpr double kPureToneSeconds = 1.8;

// A pure tone at `hz`: a sine with a 10 ms rise and a 150 ms fall, as long as a note file.
std::shared_ptr<const Samples> pureTone(double hz, int rate);

// The guard's tones one after another, filling about a second, and the short silence
// after them that comes before the note.
Samples guardPrelude(const std::vector<double>& tones, int rate);

// How long the guard's tones and the silence after them last in all.
inline constexpr double kGuardSeconds = 1.0;
inline constexpr double kGuardSilenceSeconds = 0.3;

}  // namespace tonarika
