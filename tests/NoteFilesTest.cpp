// The twelve shipped notes: their format, their level and, above all, their pitch.

// own
#include "Note.h"
#include "audio/NotePitch.h"
#include "audio/Pitch.h"
#include "audio/Wav.h"

// std
#include <gtest/gtest.h>
#include <cmath>
#include <numbers>
#include <string>

namespace tonarika {
namespace {

const std::filesystem::path kWavFolder = TONARIKA_SOURCE_DIR;

std::vector<float> tone(std::initializer_list<std::pair<double, double>> partials, double seconds,
                        double decayPerSecond, int rate = 44100)
{
    std::vector<float> samples(size_t(seconds * rate));
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = double(i) / rate;
        double v = 0;
        for (const auto& [hz, amplitude] : partials)
            v += amplitude * std::sin(2 * std::numbers::pi * hz * t + 0.3);
        samples[i] = float(v * std::exp(-decayPerSecond * t));
    }
    return samples;
}

TEST(NotePitch, equalTemperamentFromA440)
{
    EXPECT_DOUBLE_EQ(audio::noteFrequency(5), 440.0);
    EXPECT_NEAR(audio::noteFrequency(0), 261.6256, 1e-4);
    EXPECT_NEAR(audio::noteFrequency(11), 466.1638, 1e-4);
}

TEST(PitchMeasure, findsAFundamentalToAHundredthOfACent)
{
    // A decaying tone with strong overtones, slightly off its note.
    const double hz = 261.6256 * std::pow(2.0, 1.3 / 1200);
    const auto samples = tone({{hz, 0.5}, {2 * hz * 1.0004, 0.7}, {3 * hz * 1.001, 0.3}}, 0.5, 3.0);
    EXPECT_NEAR(audio::centsBetween(audio::peakFrequency(samples, 44100, 261.6256), hz), 0.0, 0.01);
}

TEST(PitchMeasure, aWrongNoteShowsAsALargeError)
{
    const auto samples = tone({{293.66, 0.5}}, 0.5, 2.0);  // D4 where C4 was expected
    EXPECT_GT(std::abs(audio::centsBetween(audio::peakFrequency(samples, 44100, 261.6256), 261.6256)), 150.0);
}

TEST(NoteFiles, areMono16BitPcmAt44100HzAndAboutTwoSecondsLong)
{
    for (const auto& row : kNoteTable) {
        const auto path = kWavFolder / std::string(row.wavFile);
        const auto format = audio::readWavFormat(path);
        ASSERT_TRUE(format) << path;
        EXPECT_EQ(format->formatTag, 1) << path;
        EXPECT_EQ(format->channels, 1) << path;
        EXPECT_EQ(format->bitsPerSample, 16) << path;
        EXPECT_EQ(format->sampleRate, 44100) << path;
        const auto wave = audio::readWav(path);
        ASSERT_TRUE(wave);
        const double seconds = double(wave->samples.size()) / wave->sampleRate;
        EXPECT_GE(seconds, 1.5) << path;
        EXPECT_LE(seconds, 2.0) << path;
    }
}

TEST(NoteFiles, shareOnePeakLevelAndFadeToSilence)
{
    for (const auto& row : kNoteTable) {
        const auto wave = audio::readWav(kWavFolder / std::string(row.wavFile));
        ASSERT_TRUE(wave);
        float peak = 0;
        for (const float s : wave->samples)
            peak = std::max(peak, std::abs(s));
        EXPECT_NEAR(peak, 0.7f, 0.002f) << row.wavFile;
        EXPECT_LT(std::abs(wave->samples.back()), 1e-3f) << row.wavFile;
    }
}

TEST(NoteFiles, fundamentalIsWithinTwoCentsOfEqualTemperament)
{
    double worst = 0;
    for (int index = 0; index < kNoteCount; ++index) {
        const auto& row = kNoteTable[index];
        const auto wave = audio::readWav(kWavFolder / std::string(row.wavFile));
        ASSERT_TRUE(wave) << row.wavFile;
        const double target = audio::noteFrequency(index);
        const double cents = audio::centsBetween(
            audio::fundamentalAfterAttack(wave->samples, wave->sampleRate, target), target);
        EXPECT_LE(std::abs(cents), 2.0) << row.wavFile << " is " << cents << " cents off";
        worst = std::max(worst, std::abs(cents));
    }
    RecordProperty("largest_error_cents", std::to_string(worst));
    std::printf("largest pitch error of the twelve notes: %.3f cents\n", worst);
}

}  // namespace
}  // namespace tonarika
