#pragma once

// std
#include <span>

namespace tonarika::audio {

// A second way to find a fundamental, independent of peakFrequency(): the Hann-windowed
// samples zero-padded to 2^18 points (six seconds), one radix-2 FFT, the strongest bin within half an
// octave either side of nearHz, and the peak placed between its neighbours by a parabola
// through their log magnitudes.
double zeroPaddedPeak(std::span<const float> samples, int sampleRate, double nearHz);

}  // namespace tonarika::audio
