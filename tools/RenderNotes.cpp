// Renders the game's notes from a General MIDI soundfont: mono, 16-bit, 44.1 kHz, each
// instrument's natural sound with a short fade at the end, reverb and chorus off.
// - The piano's middle octave: the twelve WAV files in wav/.
// - Every other timbre and octave (3 to 5): FLAC files in notes/<timbre>/.
// Every note has one loudness (the RMS of the 0.3 s after its attack), the loudest that
// none of them must clip for, so that no note, timbre or octave stands out by its level.
// A sampled instrument is often a cent or so off, and the synthesiser tunes only in whole
// cents, so each note is measured after rendering, where the ear hears its pitch (0.1 s
// to 1.0 s after its attack, past any glide at the start), and resampled by the exact
// ratio that puts its fundamental on equal temperament, until it is within a twentieth of
// a cent. The pure tone the player computes takes the amplitude printed at the end.
//
//   render-notes OUTPUT_FOLDER [SOUNDFONT]

// own
#include "Note.h"
#include "Timbre.h"
#include "audio/Flac.h"
#include "audio/NotePitch.h"
#include "audio/Pitch.h"
#include "audio/Spectrum.h"
#include "audio/Wav.h"

// fluidsynth
#include <fluidsynth.h>

// std
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>

namespace {

using tonarika::audio::Wave;

constexpr int kRate = 44100;
constexpr double kSeconds = 1.8;
constexpr double kFadeSeconds = 0.15;
constexpr float kHighestPeak = 0.98f;
constexpr int kVelocity = 100;

struct Synth {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_synth_t* synth = nullptr;
    ~Synth()
    {
        if (synth)
            delete_fluid_synth(synth);
        delete_fluid_settings(settings);
    }
};

Wave render(const std::string& soundfont, int program, int midiKey)
{
    Synth s;
    fluid_settings_setnum(s.settings, "synth.sample-rate", kRate);
    fluid_settings_setint(s.settings, "synth.reverb.active", 0);
    fluid_settings_setint(s.settings, "synth.chorus.active", 0);
    fluid_settings_setnum(s.settings, "synth.gain", 0.5);
    s.synth = new_fluid_synth(s.settings);
    const int font = fluid_synth_sfload(s.synth, soundfont.c_str(), 1);
    if (font == FLUID_FAILED) {
        std::fprintf(stderr, "render-notes: cannot load %s\n", soundfont.c_str());
        std::exit(1);
    }
    fluid_synth_program_select(s.synth, 0, font, 0, program);

    const int frames = int(kSeconds * kRate);
    std::vector<float> left(frames), right(frames);
    fluid_synth_noteon(s.synth, 0, midiKey, kVelocity);
    fluid_synth_write_float(s.synth, frames, left.data(), 0, 1, right.data(), 0, 1);

    Wave wave{kRate, std::vector<float>(frames)};
    for (int i = 0; i < frames; ++i)
        wave.samples[i] = (left[i] + right[i]) / 2;
    return wave;
}

// Reads the wave at n * ratio with a windowed-sinc interpolator; the ratios used here
// are within a few cents of 1, far from any aliasing.
Wave resample(const Wave& in, double ratio)
{
    constexpr int kTaps = 32;
    const int n = int(in.samples.size());
    Wave out{in.sampleRate, std::vector<float>(size_t(n / ratio))};
    for (size_t i = 0; i < out.samples.size(); ++i) {
        const double pos = double(i) * ratio;
        const int centre = int(std::floor(pos));
        double sum = 0.0;
        for (int k = centre - kTaps + 1; k <= centre + kTaps; ++k) {
            if (k < 0 || k >= n)
                continue;
            const double x = pos - k;
            const double sinc = x == 0.0 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
            const double window = 0.5 + 0.5 * std::cos(std::numbers::pi * x / kTaps);
            sum += in.samples[size_t(k)] * sinc * window;
        }
        out.samples[i] = float(sum);
    }
    return out;
}

void fadeOut(Wave& wave)
{
    const int fade = int(kFadeSeconds * kRate);
    const int n = int(wave.samples.size());
    for (int i = 0; i < fade; ++i) {
        // Raised-cosine fade: no corner at either end.
        const double gain = 0.5 + 0.5 * std::cos(std::numbers::pi * (i + 1) / fade);
        wave.samples[n - fade + i] *= float(gain);
    }
}

float peakOf(const Wave& wave)
{
    float peak = 0;
    for (const float v : wave.samples)
        peak = std::max(peak, std::abs(v));
    return peak;
}

void scaleTo(Wave& wave, double loudness)
{
    const double gain = loudness / tonarika::audio::loudness(wave.samples, wave.sampleRate);
    for (float& v : wave.samples)
        v = float(v * gain);
}

// Renders one note and puts its fundamental on equal temperament. Prints what it found.
Wave tunedNote(const std::string& soundfont, int program, int key, double target, const std::string& label)
{
    const Wave rendered = render(soundfont, program, key);
    auto measure = [&](const Wave& w) {
        return tonarika::audio::centsBetween(tonarika::audio::steadyFundamental(w.samples, kRate, target), target);
    };
    const double renderedError = measure(rendered);
    double correction = 0.0;
    Wave wave = rendered;
    double error = renderedError;
    for (int pass = 0; pass < 4 && std::abs(error) >= 0.05; ++pass) {
        correction -= error;
        wave = resample(rendered, std::pow(2.0, correction / 1200.0));
        error = measure(wave);
    }
    fadeOut(wave);
    const double second = tonarika::audio::centsBetween(
        tonarika::audio::zeroPaddedPeak(tonarika::audio::steadyPart(wave.samples, kRate), kRate, target), target);
    std::printf("%-28s MIDI %d  rendered %+.3f cents, resampled %+.3f cents, now %+.3f cents (by FFT %+.3f)\n",
                label.c_str(), key, renderedError, correction, error, second);
    return wave;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: render-notes OUTPUT_FOLDER [SOUNDFONT]\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::string soundfont = argc > 2 ? argv[2] : "/usr/share/sounds/sf2/FluidR3_GM.sf2";
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);

    // Every note, tuned; the levels once all are known.
    std::vector<std::pair<std::filesystem::path, Wave>> notes;
    for (const auto& timbre : tonarika::kTimbreTable) {
        if (timbre.gmProgram < 0)
            continue;
        for (int octave = tonarika::kLowestOctave; octave <= tonarika::kHighestOctave; ++octave) {
            for (int index = 0; index < tonarika::kNoteCount; ++index) {
                const tonarika::NoteSound sound{tonarika::NoteIndex(index), timbre.timbre, octave};
                const std::string file = tonarika::noteSoundFile(sound);
                notes.emplace_back(out / file, tunedNote(soundfont, timbre.gmProgram, tonarika::midiKey(sound),
                                                         tonarika::noteSoundHz(sound), file));
            }
        }
    }
    // The loudest level no note clips at.
    double loudness = 1.0;
    for (const auto& [path, wave] : notes)
        loudness = std::min(loudness, tonarika::audio::loudness(wave.samples, kRate) * kHighestPeak / peakOf(wave));
    std::printf("common loudness: RMS %.4f (%.2f dB); a pure tone of amplitude %.4f is as loud\n", loudness,
                20.0 * std::log10(loudness * std::sqrt(2.0)), loudness * std::sqrt(2.0));
    for (auto& [path, wave] : notes) {
        scaleTo(wave, loudness);
        std::filesystem::create_directories(path.parent_path());
        const bool written = path.extension() == ".wav" ? tonarika::audio::writeWav(path, wave)
                                                        : tonarika::audio::writeFlac(path, wave);
        if (!written) {
            std::fprintf(stderr, "render-notes: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
