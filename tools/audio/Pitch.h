#pragma once

// std
#include <span>

namespace tonarika::audio {

// Magnitude of the Hann-windowed spectrum of samples at one frequency.
double magnitudeAt(std::span<const float> samples, int sampleRate, double hz);

// The strongest spectral peak within half an octave either side of nearHz, located to
// a small fraction of a cent: a coarse scan of the windowed spectrum, then a
// golden-section search on the peak.
double peakFrequency(std::span<const float> samples, int sampleRate, double nearHz);

// Where the attack begins: the first sample reaching a tenth of the peak level.
std::size_t attackIndex(std::span<const float> samples);

// The fundamental over the first half second after the attack.
double fundamentalAfterAttack(std::span<const float> samples, int sampleRate, double nearHz);

// Where the ear hears a note's pitch: from 0.1 s to 1.0 s after its attack, past the glide
// some instruments begin with (shorter where the note is).
std::span<const float> steadyPart(std::span<const float> samples, int sampleRate);

// The fundamental over the steady part, by the peak of its windowed spectrum.
double steadyFundamental(std::span<const float> samples, int sampleRate, double nearHz);

double centsBetween(double hz, double referenceHz);

// How loud a note sounds: the RMS level of the 0.3 s after its attack, about the time the
// ear takes to judge the loudness of a short sound, so that a note that dies away fast is
// not taken for a soft one.
double loudness(std::span<const float> samples, int sampleRate);

// The same in decibels relative to a full-scale sine's loudness.
double loudnessDb(std::span<const float> samples, int sampleRate);

}  // namespace tonarika::audio
