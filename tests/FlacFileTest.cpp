// FLAC files as notes: what their header must say before anything is decoded, and what
// decoding gives, as a file of another's making may be.

// own
#include "FlacFile.h"
#include "audio/Flac.h"

// std
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace tonarika {
namespace {

constexpr int kRate = 8000;

std::vector<float> sine(double seconds, double amplitude, double hz = 440.0)
{
    std::vector<float> samples(std::size_t(seconds * kRate));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(amplitude * std::sin(2 * std::numbers::pi * hz * double(i) / kRate));
    return samples;
}

// The header says what a note may be before a frame is decoded, and no frame may bring
// more than it said; two channels are heard as their mean.
TEST(FlacFile, aNoteIsOneOrTwoChannelsOfTheLengthItsHeaderGivesAndNoLonger)
{
    const auto second = sine(1.0, 0.6);
    const struct {
        const char* what;
        std::vector<std::vector<float>> channels;
        std::uint64_t claimed;
        const char* fault;  // "" where it decodes
        double peak;        // of what it decodes to
    } cases[] = {
        {"one channel", {second}, kRate, "", 0.6},
        {"two channels, heard as their mean", {second, sine(1.0, 0.2)}, kRate, "", 0.4},
        {"a channel against the other", {second, sine(1.0, -0.6)}, kRate, "", 0.0},
        {"three channels", {second, second, second}, kRate, "3 channels", 0},
        {"no length given", {second}, 0, "its length is not given", 0},
        {"longer than 30 s", {sine(31.0, 0.6)}, 31 * kRate, "it lasts over 30 s", 0},
        {"more sound than its header says", {sine(2.0, 0.6)}, kRate, "it holds more sound than its header says", 0},
    };
    for (const auto& c : cases) {
        const auto bytes = audio::encodeFlac(kRate, c.channels, c.claimed);
        ASSERT_FALSE(bytes.empty()) << c.what;
        std::string fault;
        const auto sound = decodeFlac(bytes, 30.0, fault);
        EXPECT_EQ(fault, c.fault) << c.what;
        EXPECT_EQ(sound.has_value(), std::string(c.fault).empty()) << c.what;
        if (!sound)
            continue;
        EXPECT_EQ(sound->rate, kRate) << c.what;
        EXPECT_EQ(sound->samples.size(), c.channels.front().size()) << c.what;
        const auto [low, high] = std::minmax_element(sound->samples.begin(), sound->samples.end());
        EXPECT_NEAR(std::max(-double(*low), double(*high)) / 32768.0, c.peak, 0.01) << c.what;
    }
}

}  // namespace
}  // namespace tonarika
