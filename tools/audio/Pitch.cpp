#include "Pitch.h"

// std
#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace tonarika::audio {

double magnitudeAt(std::span<const float> samples, int sampleRate, double hz)
{
    const std::size_t n = samples.size();
    if (n < 2)
        return 0.0;
    // Rotate phasors, for the frequency and for the window, instead of calling sin and cos
    // per sample; renormalise them now and then.
    const double step = 2.0 * std::numbers::pi * hz / sampleRate;
    const std::complex<double> turn = std::polar(1.0, -step);
    const std::complex<double> windowTurn = std::polar(1.0, 2.0 * std::numbers::pi / double(n - 1));
    std::complex<double> phasor = 1.0;
    std::complex<double> windowPhasor = 1.0;
    std::complex<double> sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double window = 0.5 - 0.5 * windowPhasor.real();
        sum += phasor * (window * samples[i]);
        phasor *= turn;
        windowPhasor *= windowTurn;
        if ((i & 1023) == 0) {
            phasor /= std::abs(phasor);
            windowPhasor /= std::abs(windowPhasor);
        }
    }
    return std::abs(sum);
}

double peakFrequency(std::span<const float> samples, int sampleRate, double nearHz)
{
    const double low = nearHz * std::pow(2.0, -0.5);
    const double high = nearHz * std::pow(2.0, 0.5);
    // The Hann main lobe is 4 bins wide: a step of one bin always lands on it, within half
    // a bin of its top, and the search below takes it from there.
    const double bin = double(sampleRate) / double(samples.size());
    double best = low;
    double bestMagnitude = -1.0;
    for (double f = low; f <= high; f += bin) {
        const double m = magnitudeAt(samples, sampleRate, f);
        if (m > bestMagnitude) {
            bestMagnitude = m;
            best = f;
        }
    }
    double a = best - bin;
    double b = best + bin;
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    double c = b - ratio * (b - a);
    double d = a + ratio * (b - a);
    double mc = magnitudeAt(samples, sampleRate, c);
    double md = magnitudeAt(samples, sampleRate, d);
    while (b - a > 1e-5) {
        if (mc > md) {
            b = d;
            d = c;
            md = mc;
            c = b - ratio * (b - a);
            mc = magnitudeAt(samples, sampleRate, c);
        } else {
            a = c;
            c = d;
            mc = md;
            d = a + ratio * (b - a);
            md = magnitudeAt(samples, sampleRate, d);
        }
    }
    return (a + b) / 2;
}

std::size_t attackIndex(std::span<const float> samples)
{
    float peak = 0.0f;
    for (const float s : samples)
        peak = std::max(peak, std::abs(s));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) >= peak / 10)
            return i;
    }
    return 0;
}

double fundamentalAfterAttack(std::span<const float> samples, int sampleRate, double nearHz)
{
    const std::size_t start = attackIndex(samples);
    const std::size_t length = std::min<std::size_t>(sampleRate / 2, samples.size() - start);
    return peakFrequency(samples.subspan(start, length), sampleRate, nearHz);
}

std::span<const float> steadyPart(std::span<const float> samples, int sampleRate)
{
    const std::size_t start = std::min(samples.size(), attackIndex(samples) + std::size_t(sampleRate / 10));
    const std::size_t end = std::min(samples.size(), attackIndex(samples) + std::size_t(sampleRate));
    return samples.subspan(start, end - start);
}

double steadyFundamental(std::span<const float> samples, int sampleRate, double nearHz)
{
    return peakFrequency(steadyPart(samples, sampleRate), sampleRate, nearHz);
}

double centsBetween(double hz, double referenceHz)
{
    return 1200.0 * std::log2(hz / referenceHz);
}

double loudness(std::span<const float> samples, int sampleRate)
{
    const std::size_t begin = attackIndex(samples);
    const std::size_t end = std::min(samples.size(), begin + std::size_t(sampleRate * 3 / 10));
    double sum = 0;
    for (std::size_t i = begin; i < end; ++i)
        sum += double(samples[i]) * samples[i];
    return end > begin ? std::sqrt(sum / double(end - begin)) : 0.0;
}

double loudnessDb(std::span<const float> samples, int sampleRate)
{
    return 20.0 * std::log10(loudness(samples, sampleRate) * std::sqrt(2.0));
}

}  // namespace tonarika::audio
