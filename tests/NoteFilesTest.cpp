// The shipped notes, in every timbre and octave: their format, their level and, above all,
// their pitch; and the pure tone the player computes, measured the same way.

// own
#include "Note.h"
#include "Timbre.h"
#include "Retune.h"
#include "ToneSynth.h"
#include "audio/Flac.h"
#include "audio/NotePitch.h"
#include "audio/Pitch.h"
#include "audio/Spectrum.h"
#include "audio/Wav.h"

// std
#include <gtest/gtest.h>
#include <atomic>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <thread>

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

TEST(PitchMeasure, theZeroPaddedSpectrumFindsAFundamentalToATwentiethOfACent)
{
    for (const double hz : {130.8128 * std::pow(2.0, 0.7 / 1200), 987.7666 * std::pow(2.0, -2.2 / 1200)}) {
        const auto samples = tone({{hz, 0.4}, {2 * hz, 0.6}, {3 * hz, 0.3}}, 0.9, 2.0);
        EXPECT_NEAR(audio::centsBetween(audio::zeroPaddedPeak(samples, 44100, hz), hz), 0.0, 0.05) << hz;
    }
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

TEST(NoteFiles, neverClipAndFadeToSilence)
{
    for (const auto& row : kNoteTable) {
        const auto wave = audio::readWav(kWavFolder / std::string(row.wavFile));
        ASSERT_TRUE(wave);
        float peak = 0;
        for (const float s : wave->samples)
            peak = std::max(peak, std::abs(s));
        EXPECT_LT(peak, 0.99f) << row.wavFile;
        EXPECT_LT(std::abs(wave->samples.back()), 1e-3f) << row.wavFile;
    }
}

// Where the ear hears it, from 0.1 s to 1.0 s after the attack, every sound is within a
// cent of equal temperament, by two methods that share nothing but the samples: the
// golden-section search on the windowed spectrum, and one long zero-padded FFT. And every
// sound, the default piano notes and the pure tone too, has one loudness (the RMS of the
// 0.3 s after its attack) to within 1 dB either side, so that no note gives itself away.
TEST(NoteFiles, everySoundOfEveryTimbreAndOctaveIsWithinACentAndAtOneLoudness)
{
    struct Result {
        std::string name;
        std::optional<std::pair<double, double>> cents;  // by each method; none: no sound
        double db = 0;
    };
    const auto sounds = everySound();
    // The sounds are measured on every core.
    std::vector<Result> results(sounds.size());
    std::atomic<std::size_t> next{0};
    const auto measure = [&] {
        for (std::size_t i; (i = next++) < sounds.size();) {
            const Measured& sound = sounds[i];
            results[i].name = sound.name;
            if (!sound.wave)
                continue;
            const auto& samples = sound.wave->samples;
            const int rate = sound.wave->sampleRate;
            results[i].cents = {audio::centsBetween(audio::steadyFundamental(samples, rate, sound.hz), sound.hz),
                                audio::centsBetween(audio::zeroPaddedPeak(audio::steadyPart(samples, rate), rate, sound.hz),
                                                    sound.hz)};
            results[i].db = audio::loudnessDb(samples, rate);
        }
    };
    std::vector<std::thread> workers;
    for (unsigned n = 0; n < std::max(1u, std::thread::hardware_concurrency()); ++n)
        workers.emplace_back(measure);
    for (auto& worker : workers)
        worker.join();

    double worstCents = 0;
    std::string worst;
    for (const Result& result : results) {
        ASSERT_TRUE(result.cents) << result.name << " is missing or unreadable";
        for (const double cents : {result.cents->first, result.cents->second}) {
            EXPECT_LE(std::abs(cents), 1.0) << result.name << " is " << cents << " cents off";
            if (std::abs(cents) > worstCents) {
                worstCents = std::abs(cents);
                worst = result.name;
            }
        }
    }
    const auto [softest, loudest] = std::minmax_element(
        results.begin(), results.end(), [](const Result& a, const Result& b) { return a.db < b.db; });
    EXPECT_LE(loudest->db - softest->db, 2.0)
        << softest->name << " at " << softest->db << " dB, " << loudest->name << " at " << loudest->db << " dB";
    std::printf("largest pitch error: %.3f cents (%s); loudness from %.2f to %.2f dB\n", worstCents, worst.c_str(),
                softest->db, loudest->db);
}

// At another A4 the player retunes each file's note as it loads it, and computes the pure
// tone at it: every timbre and octave, at its lowest, a middle and its highest note, is
// within a cent of equal temperament at that A4, by both methods.
class RetunedSounds : public ::testing::TestWithParam<int> {};

TEST_P(RetunedSounds, areWithinACentOfEqualTemperamentAtTheirA4)
{
    const int a4 = GetParam();
    double worst = 0;
    for (const auto& timbre : kTimbreTable) {
        for (int octave = kLowestOctave; octave <= kHighestOctave; ++octave) {
            for (const int note : {0, 9, 6}) {
                const NoteSound sound{NoteIndex(note), timbre.timbre, octave};
                const double hz = noteSoundHz(sound, a4);
                std::shared_ptr<const Samples> samples;
                if (timbre.timbre == Timbre::Sine) {
                    samples = pureTone(hz, 44100);
                } else {
                    const auto wave = audio::readNote(kWavFolder / noteSoundFile(sound));
                    ASSERT_TRUE(wave) << noteSoundFile(sound);
                    auto decoded = std::make_shared<Samples>();
                    for (const float sample : wave->samples)
                        decoded->push_back(std::int16_t(std::lround(sample * 32767.0f)));
                    samples = retuned(decoded, a4);
                }
                ASSERT_TRUE(samples);
                std::vector<float> floats;
                for (const auto sample : *samples)
                    floats.push_back(float(sample) / 32768.0f);
                for (const double found : {audio::steadyFundamental(floats, 44100, hz),
                                           audio::zeroPaddedPeak(audio::steadyPart(floats, 44100), 44100, hz)}) {
                    const double cents = audio::centsBetween(found, hz);
                    EXPECT_LE(std::abs(cents), 1.0) << noteSoundFile(sound) << " at A4 = " << a4 << ": " << cents;
                    worst = std::max(worst, std::abs(cents));
                }
            }
        }
    }
    std::printf("A4 = %d Hz: largest pitch error %.3f cents\n", a4, worst);
}

INSTANTIATE_TEST_SUITE_P(A4, RetunedSounds, ::testing::Values(415, 442, 466));

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
