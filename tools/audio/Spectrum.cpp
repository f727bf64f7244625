#include "Spectrum.h"

// std
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace tonarika::audio {

namespace {

constexpr std::size_t kPoints = std::size_t(1) << 18;

// In place, iterative, radix 2; the size a power of two.
void fft(std::vector<std::complex<double>>& data)
{
    const std::size_t n = data.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(data[i], data[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const std::complex<double> turn = std::polar(1.0, -2.0 * std::numbers::pi / double(length));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<double> w = 1.0;
            for (std::size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> even = data[start + k];
                const std::complex<double> odd = w * data[start + k + length / 2];
                data[start + k] = even + odd;
                data[start + k + length / 2] = even - odd;
                w *= turn;
            }
        }
    }
}

}  // namespace

double zeroPaddedPeak(std::span<const float> samples, int sampleRate, double nearHz)
{
    const std::size_t n = std::min(samples.size(), kPoints);
    if (n < 2)
        return 0.0;
    std::vector<std::complex<double>> data(kPoints);
    for (std::size_t i = 0; i < n; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(i) / double(n - 1));
        data[i] = window * samples[i];
    }
    fft(data);
    const double bin = double(sampleRate) / double(kPoints);
    const auto first = std::size_t(nearHz * std::pow(2.0, -0.5) / bin);
    const auto last = std::min(kPoints / 2 - 2, std::size_t(nearHz * std::pow(2.0, 0.5) / bin));
    std::size_t best = first;
    for (std::size_t k = first; k <= last; ++k) {
        if (std::abs(data[k]) > std::abs(data[best]))
            best = k;
    }
    if (best == 0)
        return 0.0;
    const double below = std::log(std::abs(data[best - 1]));
    const double at = std::log(std::abs(data[best]));
    const double above = std::log(std::abs(data[best + 1]));
    const double offset = 0.5 * (below - above) / (below - 2.0 * at + above);
    return (double(best) + offset) * bin;
}

}  // namespace tonarika::audio
