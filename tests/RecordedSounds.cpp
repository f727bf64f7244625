// Tells which sounds of the game a recording holds, note, octave and timbre: reads what
// SDL's disk driver wrote (signed 16-bit mono at 44.1 kHz), cuts it where it falls silent,
// and matches the start of each sound against every sound the game can ask (the shipped
// files under NOTES_FOLDER, and the pure tones), by the spectrum over the notes' grid.
//   recorded-sounds NOTES_FOLDER FILE   prints "note octave timbre" for each sound, in order

// own
#include "Timbre.h"
#include "ToneSynth.h"
#include "audio/Flac.h"
#include "audio/Pitch.h"

// std
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace tonarika;

constexpr int kRate = 44100;
constexpr std::size_t kSkip = kRate / 50;     // past the attack's first 20 ms
constexpr std::size_t kWindow = kRate / 5;    // then 200 ms
constexpr std::size_t kSilence = kRate / 10;  // a gap this long ends a sound

// The spectrum at the notes of the grid from Do3 up, over the fundamentals and the first
// overtones of every sound: a vector of unit length.
std::vector<double> features(std::span<const float> samples, std::size_t onset)
{
    std::vector<double> magnitudes;
    if (onset + kSkip + kWindow > samples.size())
        return magnitudes;
    const auto window = samples.subspan(onset + kSkip, kWindow);
    double norm = 0;
    for (int key = 48; key < 48 + 36 + 28; ++key) {
        const double m = audio::magnitudeAt(window, kRate, 440.0 * std::pow(2.0, (key - 69) / 12.0));
        magnitudes.push_back(m);
        norm += m * m;
    }
    for (double& m : magnitudes)
        m /= std::sqrt(norm) + 1e-12;
    return magnitudes;
}

// Where a sound begins: its first sample at a tenth of its peak.
std::size_t onsetOf(std::span<const float> samples)
{
    return audio::attackIndex(samples);
}

struct Candidate {
    NoteSound sound;
    std::vector<double> features;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const std::string folder = argv[1];
    std::vector<Candidate> candidates;
    for (const auto& timbre : kTimbreTable) {
        for (int octave = kLowestOctave; octave <= kHighestOctave; ++octave) {
            for (int note = 0; note < kNoteCount; ++note) {
                const NoteSound sound{NoteIndex(note), timbre.timbre, octave};
                std::vector<float> samples;
                if (timbre.timbre == Timbre::Sine) {
                    const auto tone = pureTone(noteSoundHz(sound), kRate);
                    for (const auto s : *tone)
                        samples.push_back(float(s) / 32768.0f);
                } else if (const auto wave = audio::readNote(folder + "/" + noteSoundFile(sound))) {
                    samples = wave->samples;
                } else {
                    std::fprintf(stderr, "recorded-sounds: cannot read %s\n", noteSoundFile(sound).c_str());
                    return 2;
                }
                candidates.push_back({sound, features(samples, onsetOf(samples))});
            }
        }
    }

    std::ifstream in(argv[2], std::ios::binary);
    std::vector<float> samples;
    std::int16_t sample = 0;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
        samples.push_back(float(sample) / 32768.0f);

    // Each stretch between silences is one sound.
    bool found = false;
    std::size_t position = 0;
    while (position < samples.size()) {
        while (position < samples.size() && std::abs(samples[position]) < 0.01f)
            ++position;
        std::size_t end = position;
        std::size_t quiet = 0;
        while (end < samples.size() && quiet < kSilence) {
            quiet = std::abs(samples[end]) < 0.01f ? quiet + 1 : 0;
            ++end;
        }
        const auto stretch = std::span<const float>(samples).subspan(position, end - position);
        const auto heard = features(stretch, onsetOf(stretch));
        position = end;
        if (heard.empty())
            continue;
        const Candidate* best = nullptr;
        double bestScore = -1;
        for (const Candidate& candidate : candidates) {
            double score = 0;
            for (std::size_t i = 0; i < heard.size(); ++i)
                score += heard[i] * candidate.features[i];
            if (score > bestScore) {
                bestScore = score;
                best = &candidate;
            }
        }
        std::printf("%d %d %s\n", int(best->sound.note), best->sound.octave,
                    std::string(timbreKey(best->sound.timbre)).c_str());
        found = true;
    }
    return found ? 0 : 1;
}
