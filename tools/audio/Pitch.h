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

double centsBetween(double hz, double referenceHz);

}  // namespace tonarika::audio
