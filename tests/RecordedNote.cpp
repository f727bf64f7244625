// Tells which of the twelve notes a recording holds: reads what SDL's disk driver wrote
// (signed 16-bit mono at 44.1 kHz) and looks for a note's fundamental in 50 ms steps.
//   recorded-note FILE              prints the first note's index; exits 1 if none sounds
//   recorded-note --sequence FILE   prints, a line each, the notes that sound one after
//                                   another, in order; exits 1 if none sounds
//   recorded-note --last FILE       prints the note sounding at the recording's end (its
//                                   last 100 ms), reading only those; exits 1 if none does
//   recorded-note --pitch A4 FILE   as --sequence, each note with how many cents its
//                                   fundamental lies from equal temperament at A4 Hz
//   recorded-note --after BYTES FILE
//                                   the note that follows the guard's tones in what was
//                                   recorded after BYTES, in any of octaves 3 to 5: the
//                                   sound after the last silence of a fifth of a second, on
//                                   the grid within 12 cents, 0.45 s of it recorded; exits 1
//                                   until there is such a note
// The alert tone (1 kHz pips) has nothing at the fundamentals of the octave.

// own
#include "audio/NotePitch.h"
#include "audio/Pitch.h"

// std
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <string_view>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr std::size_t kWindow = kRate / 20;
constexpr double kSounding = 0.05;

constexpr int kNone = -1;

// The loudest note of the octave in one window, or kNone where none is loud enough.
int loudestNote(std::span<const float> window)
{
    int loudest = kNone;
    double loudestAmplitude = kSounding;
    for (int note = 0; note < tonarika::kNoteCount; ++note) {
        const double amplitude
            = 4.0 * tonarika::audio::magnitudeAt(window, kRate, tonarika::audio::noteFrequency(note)) / kWindow;
        if (amplitude > loudestAmplitude) {
            loudest = note;
            loudestAmplitude = amplitude;
        }
    }
    return loudest;
}

// The note after the last silence of `samples`, where something sounded before that
// silence, or kNone where there is none yet.
int noteAfterGuard(std::span<const float> samples)
{
    constexpr std::size_t kSilence = kRate / 5;  // the guard leaves 0.3 s before its note
    constexpr std::size_t kSkip = kRate / 20;  // past the attack
    constexpr std::size_t kLength = kRate * 2 / 5;
    constexpr float kQuiet = 0.002f;
    constexpr float kLoud = 0.02f;
    std::size_t quiet = 0;
    bool afterSilence = false;
    bool heard = false;
    std::size_t start = samples.size();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const float level = std::abs(samples[i]);
        if (level < kQuiet) {
            ++quiet;
            continue;
        }
        afterSilence = afterSilence || quiet >= kSilence;
        quiet = 0;
        if (level >= kLoud) {
            if (heard && afterSilence)
                start = i;
            heard = true;
            afterSilence = false;
        }
    }
    if (start == samples.size() || start + kSkip + kLength > samples.size())
        return kNone;
    const std::span<const float> note = samples.subspan(start + kSkip, kLength);
    std::array<double, 3 * tonarika::kNoteCount> magnitudes{};
    const auto frequency = [](std::size_t at) {
        return tonarika::audio::noteFrequency(int(at % tonarika::kNoteCount)) * std::pow(2.0, double(at / tonarika::kNoteCount) - 1.0);
    };
    for (std::size_t at = 0; at < magnitudes.size(); ++at)
        magnitudes[at] = tonarika::audio::magnitudeAt(note, kRate, frequency(at));
    const double loudest = *std::max_element(magnitudes.begin(), magnitudes.end());
    // A high piano note has faded to a tenth of full scale by then.
    if (4.0 * loudest / double(kLength) < kSounding / 5)
        return kNone;
    // The fundamental: the lowest of the strong ones, where a piano's harmonic is the loudest.
    std::size_t fundamental = 0;
    double lowest = 1e9;
    for (std::size_t at = 0; at < magnitudes.size(); ++at) {
        if (magnitudes[at] >= 0.2 * loudest && frequency(at) < lowest) {
            lowest = frequency(at);
            fundamental = at;
        }
    }
    // The guard's tones lie a quarter of a semitone or more off the grid; a note on it.
    const double found = tonarika::audio::peakFrequency(note, kRate, lowest);
    if (std::abs(tonarika::audio::centsBetween(found, lowest)) > 12.0)
        return kNone;
    return int(fundamental % tonarika::kNoteCount);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool pitch = argc == 4 && std::string_view(argv[1]) == "--pitch";
    const bool sequence = (argc == 3 && std::string_view(argv[1]) == "--sequence") || pitch;
    const bool last = argc == 3 && std::string_view(argv[1]) == "--last";
    const bool after = argc == 4 && std::string_view(argv[1]) == "--after";
    if (argc != 2 && !sequence && !last && !after)
        return 2;
    const double a4 = pitch ? std::atof(argv[2]) : 440.0;
    std::ifstream in(argv[argc - 1], std::ios::binary);
    if (after)
        in.seekg(std::streamoff(std::atoll(argv[2])) / 2 * 2);
    if (last) {
        // However long the recording, only its end is read: a test that asks often stays quick.
        in.seekg(0, std::ios::end);
        const auto bytes = std::streamoff(2 * kWindow * sizeof(std::int16_t));
        in.seekg(std::max<std::streamoff>(0, std::streamoff(in.tellg()) / 2 * 2 - bytes));
    }
    std::vector<float> samples;
    std::int16_t sample = 0;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
        samples.push_back(float(sample) / 32768.0f);

    if (after) {
        const int note = noteAfterGuard(samples);
        if (note == kNone)
            return 1;
        std::printf("%d\n", note);
        return 0;
    }
    if (last) {
        if (samples.size() < 2 * kWindow)
            return 1;
        const int first = loudestNote(std::span<const float>(samples.data(), kWindow));
        const int second = loudestNote(std::span<const float>(samples.data() + kWindow, kWindow));
        if (first == kNone || first != second)
            return 1;
        std::printf("%d\n", first);
        return 0;
    }
    // A note counts once it holds for two windows running (100 ms), so that the edge of
    // an onset or of a fade is never taken for a note of its own.
    int previous = kNone;
    int current = kNone;
    bool found = false;
    for (std::size_t start = 0; start + kWindow <= samples.size(); start += kWindow) {
        const int note = loudestNote(std::span<const float>(samples.data() + start, kWindow));
        if (note != kNone && note == previous && note != current) {
            if (pitch) {
                // From 0.1 s into the note to 0.6 s, where what follows does not cut it.
                const std::size_t from = start - kWindow + kRate / 10;
                const std::size_t length = std::min<std::size_t>(kRate / 2, samples.size() - std::min(samples.size(), from));
                const double hz = tonarika::audio::noteFrequency(note) * a4 / 440.0;
                const double measured = tonarika::audio::peakFrequency(std::span<const float>(samples.data() + from, length), kRate, hz);
                std::printf("%d %.3f\n", note, tonarika::audio::centsBetween(measured, hz));
            } else {
                std::printf("%d\n", note);
            }
            found = true;
            if (!sequence)
                return 0;
            current = note;
        }
        if (note == kNone)
            current = kNone;
        previous = note;
    }
    return found ? 0 : 1;
}
