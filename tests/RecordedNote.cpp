// Tells which of the twelve notes a recording holds: reads what SDL's disk driver wrote
// (signed 16-bit mono at 44.1 kHz) and looks for a note's fundamental in 50 ms steps.
//   recorded-note FILE   prints the note's index and exits 0, or exits 1 if none sounds
// The alert tone (1 kHz pips) has nothing at the fundamentals of the octave.

// own
#include "audio/NotePitch.h"
#include "audio/Pitch.h"

// std
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    constexpr int kRate = 44100;
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<float> left;
    std::int16_t sample = 0;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
        left.push_back(float(sample) / 32768.0f);

    constexpr std::size_t kWindow = kRate / 20;
    for (std::size_t start = 0; start + kWindow <= left.size(); start += kWindow) {
        const std::span<const float> window(left.data() + start, kWindow);
        for (int note = 0; note < tonarika::kNoteCount; ++note) {
            const double amplitude
                = 4.0 * tonarika::audio::magnitudeAt(window, kRate, tonarika::audio::noteFrequency(note)) / kWindow;
            if (amplitude > 0.05) {
                std::printf("%d\n", note);
                return 0;
            }
        }
    }
    return 1;
}
