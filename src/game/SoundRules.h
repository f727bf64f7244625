#pragma once

// own
#include "RandomSource.h"
#include "Timbre.h"

// std
#include <optional>
#include <vector>

namespace tonarika {

// The least distance, in semitones, between two questions in a row while the guard is on
// and three octaves are asked: more than an octave, so that no interval gives it away.
inline constexpr int kGuardLeap = 13;

// A timbre from `chosen`, never `previous` where more than one is chosen. With one
// timbre, no random value is drawn.
Timbre drawTimbre(RandomSource& random, const std::vector<Timbre>& chosen, std::optional<Timbre> previous);

// The octave of `note`: the middle one, without drawing, where one octave is asked;
// otherwise one of three, and with `previousKey` (a MIDI key) at least kGuardLeap
// semitones from it. There is always such an octave for a note other than the previous.
int drawOctave(RandomSource& random, NoteIndex note, bool threeOctaves, std::optional<int> previousKey);

// How many tones the guard plays before a question, and over which keys: the three octaves.
inline constexpr int kFewestGuardTones = 6;
inline constexpr int kMostGuardTones = 8;
inline constexpr double kLowestGuardKey = 48.0;   // Do3
inline constexpr double kHighestGuardKey = 84.0;  // Do6
// How far each guard tone keeps from the twelve-note grid, in semitones.
inline constexpr double kGuardOffGrid = 0.25;

// The guard's tones, in Hz: six to eight at random, each at least a quarter of a semitone
// off every note of equal temperament at `a4`.
std::vector<double> drawGuardTones(RandomSource& random, double a4 = 440.0);

}  // namespace tonarika
