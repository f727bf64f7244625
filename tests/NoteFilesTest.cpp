// The shipped notes, in every timbre and octave: their format, their level and, above all,
// their pitch; and the pure tone the player computes, measured the same way.

// own
#include "Note.h"
#include "Timbre.h"
#include "ToneSynth.h"
#include "audio/Flac.h"
#include "audio/NotePitch.h"
#include "audio/Pitch.h"
#include "audio/Wav.h"

// std
#include <gtest/gtest.h>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

namespace tonarika {
namespace {

const std::filesystem::path kWavFolder = TONARIKA_SOURCE_DIR;

// Every sound a question can ask, as the player gets it: decoded from its file, or
// computed for the pure tone.
struct Measured {
    std::string name;
    double hz;
    std::optional<audio::Wave> wave;
};

std::vector<Measured> everySound()
{
    std::vector<Measured> sounds;
    for (const auto& timbre : kTimbreTable) {
        for (int octave = kLowestOctave; octave <= kHighestOctave; ++octave) {
            for (int note = 0; note < kNoteCount; ++note) {
                const NoteSound sound{NoteIndex(note), timbre.timbre, octave};
                Measured measured{noteSoundFile(sound), noteSoundHz(sound), std::nullopt};
                if (timbre.timbre == Timbre::Sine) {
                    const auto tone = pureTone(measured.hz, 44100);
                    measured.name = "pure tone " + std::to_string(measured.hz);
                    measured.wave = audio::Wave{44100, {}};
                    for (const auto sample : *tone)
                        measured.wave->samples.push_back(float(sample) / 32768.0f);
                } else {
                    measured.wave = audio::readNote(kWavFolder / measured.name);
                }
                sounds.push_back(std::move(measured));
            }
        }
    }
    return sounds;
}

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

TEST(NoteFiles, everySoundOfEveryTimbreAndOctaveIsWithinACentAndAtOneLoudness)
{
    // The loudness every rendered note was given: the middle, in decibels, of the range
    // of the piano's middle octave, whose files stay as they are.
    std::vector<double> piano;
    for (const auto& row : kNoteTable)
        piano.push_back(audio::loudnessDb(audio::readWav(kWavFolder / std::string(row.wavFile))->samples, 44100));
    const auto [softest, loudest] = std::minmax_element(piano.begin(), piano.end());
    const double common = (*softest + *loudest) / 2;

    double worstCents = 0;
    double worstDb = 0;
    for (const auto& sound : everySound()) {
        ASSERT_TRUE(sound.wave) << sound.name << " is missing or unreadable";
        const double cents
            = audio::centsBetween(audio::fundamentalAfterAttack(sound.wave->samples, sound.wave->sampleRate, sound.hz),
                                  sound.hz);
        EXPECT_LE(std::abs(cents), 1.0) << sound.name << " is " << cents << " cents off";
        const double db = audio::loudnessDb(sound.wave->samples, sound.wave->sampleRate) - common;
        EXPECT_LE(std::abs(db), 3.0) << sound.name << " is " << db << " dB from the common loudness";
        worstCents = std::max(worstCents, std::abs(cents));
        worstDb = std::max(worstDb, std::abs(db));
    }
    std::printf("largest pitch error: %.3f cents; largest distance from the common loudness: %.2f dB\n", worstCents,
                worstDb);
}

TEST(NoteFiles, allShippedNotesTakeUnderTwentyMegabytes)
{
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kWavFolder / "notes"))
        bytes += entry.is_regular_file() ? entry.file_size() : 0;
    for (const auto& entry : std::filesystem::directory_iterator(kWavFolder / "wav"))
        bytes += entry.file_size();
    EXPECT_LT(bytes, 20'000'000u);
}

}  // namespace
}  // namespace tonarika
