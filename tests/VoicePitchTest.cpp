// aubio's detector and the steady-voicing rule on voice-like sounds made here: each sung
// pitch is found within a few cents, whatever its octave from E2 to C6.

// own
#include "AubioPitch.h"
#include "SteadyVoicing.h"

// std
#include <gtest/gtest.h>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

namespace tonarika {
namespace {

constexpr unsigned kRate = 44100;

// A vowel: the fundamental and six harmonics, vibrato, a little jitter, a soft onset, after
// `quietMs` of faint noise.
std::vector<float> voice(double hz, double vibratoCents, double quietMs, double seconds)
{
    std::mt19937 random(7);
    std::normal_distribution<double> jitter(0.0, 2.0);
    std::normal_distribution<double> noise(0.0, 0.001);
    std::vector<float> samples;
    double phase = 0;
    const auto quiet = std::size_t(quietMs * kRate / 1000);
    for (std::size_t i = 0; i < quiet + std::size_t(seconds * kRate); ++i) {
        if (i < quiet) {
            samples.push_back(float(noise(random)));
            continue;
        }
        const double t = double(i - quiet) / kRate;
        const double cents = vibratoCents * std::sin(2 * M_PI * 5.5 * t) + jitter(random);
        phase += 2 * M_PI * hz * std::pow(2.0, cents / 1200) / kRate;
        double sound = 0;
        for (int k = 1; k <= 7; ++k)
            sound += std::sin(k * phase) / std::pow(k, 1.5);
        samples.push_back(float(0.25 * std::min(1.0, t / 0.05) * sound + noise(random)));
    }
    return samples;
}

std::optional<SungPitch> heard(const std::vector<float>& samples)
{
    AubioPitch detector(kRate);
    SteadyVoicing voicing;
    for (std::size_t at = 0; at + AubioPitch::kHop <= samples.size(); at += AubioPitch::kHop) {
        const PitchFrame frame = detector.analyse({samples.data() + at, AubioPitch::kHop}, double(at) * 1000.0 / kRate);
        if (const auto pitch = voicing.feed(frame))
            return pitch;
    }
    return std::nullopt;
}

TEST(VoicePitch, aSungVowelIsFoundWithinAFewCentsFromE2ToC6)
{
    for (const double hz : {82.41, 130.81, 220.0, 440.0 * std::pow(2.0, 23 / 1200.0), 659.26, 1046.5}) {
        for (const double vibrato : {0.0, 30.0}) {
            const auto pitch = heard(voice(hz, vibrato, 300, 1.0));
            ASSERT_TRUE(pitch) << hz << " " << vibrato;
            const double cents = 1200 * std::log2(pitch->hz / hz);
            EXPECT_LT(std::abs(cents), 3.0) << hz << " " << vibrato << ": " << cents;
            EXPECT_NEAR(pitch->voiceStartMs, 300, 60) << hz;
        }
    }
    EXPECT_FALSE(heard(voice(440, 0, 2000, 0.0)));
}

}  // namespace
}  // namespace tonarika
