#include "ToneSynth.h"

// std
#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace tonarika {

namespace {

// Appends a sine of `frames` frames with raised-cosine edges of `rise` and `fall` frames.
// The sine comes from a phasor turned by one sample's angle each time, not from sin() per
// sample: the guard's tones are made as the question is asked, on the window's thread.
void appendSine(Samples& out, double hz, int rate, int frames, int rise, int fall, double amplitude)
{
    const std::complex<double> turn = std::polar(1.0, 2.0 * std::numbers::pi * hz / rate);
    std::complex<double> phasor = 1.0;
    for (int i = 0; i < frames; ++i) {
        double gain = 1.0;
        if (i < rise)
            gain = 0.5 - 0.5 * std::cos(std::numbers::pi * i / rise);
        else if (i >= frames - fall)
            gain = 0.5 - 0.5 * std::cos(std::numbers::pi * (frames - i) / fall);
        const double value = amplitude * gain * phasor.imag();
        out.push_back(static_cast<std::int16_t>(std::lround(value * 32767.0)));
        phasor *= turn;
        // Kept on the unit circle, however long the tone.
        if ((i & 1023) == 1023)
            phasor /= std::abs(phasor);
    }
}

}  // namespace

std::shared_ptr<const Samples> pureTone(double hz, int rate)
{
    auto samples = std::make_shared<Samples>();
    const int frames = int(kPureToneSeconds * rate);
    samples->reserve(std::size_t(frames));
    appendSine(*samples, hz, rate, frames, rate / 100, rate * 15 / 100, kPureToneAmplitude);
    return samples;
}

Samples guardPrelude(const std::vector<double>& tones, int rate)
{
    Samples samples;
    if (tones.empty())
        return samples;
    const int total = int(kGuardSeconds * rate);
    const int each = total / int(tones.size());
    const int gap = rate * 15 / 1000;  // between tones, so that each is heard as one
    const int ramp = rate * 5 / 1000;
    samples.reserve(std::size_t(total + kGuardSilenceSeconds * rate));
    for (const double hz : tones) {
        appendSine(samples, hz, rate, each - gap, ramp, ramp, kPureToneAmplitude);
        samples.insert(samples.end(), std::size_t(gap), 0);
    }
    samples.insert(samples.end(), std::size_t(kGuardSilenceSeconds * rate), 0);
    return samples;
}

}  // namespace tonarika
