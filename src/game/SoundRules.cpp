#include "SoundRules.h"

// own
#include "Rules.h"

// std
#include <cmath>
#include <cstdlib>

namespace tonarika {

Timbre drawTimbre(RandomSource& random, const std::vector<Timbre>& chosen, std::optional<Timbre> previous)
{
    if (chosen.empty())
        return Timbre::Piano;
    if (chosen.size() == 1)
        return chosen.front();
    std::vector<Timbre> allowed;
    for (const Timbre timbre : chosen) {
        if (timbre != previous)
            allowed.push_back(timbre);
    }
    return allowed.at(std::size_t(noteFromRandom(random.next(), int(allowed.size()))));
}

int drawOctave(RandomSource& random, NoteIndex note, bool threeOctaves, std::optional<int> previousKey)
{
    if (!threeOctaves)
        return kHomeOctave;
    std::vector<int> allowed;
    for (int octave = kLowestOctave; octave <= kHighestOctave; ++octave) {
        const int key = midiKey({note, Timbre::Piano, octave});
        if (!previousKey || std::abs(key - *previousKey) >= kGuardLeap)
            allowed.push_back(octave);
    }
    // Only the previous note itself has none; the caller never asks it twice.
    if (allowed.empty())
        return kHomeOctave;
    return allowed.at(std::size_t(noteFromRandom(random.next(), int(allowed.size()))));
}

std::vector<double> drawGuardTones(RandomSource& random, double a4)
{
    constexpr int kCounts = kMostGuardTones - kFewestGuardTones + 1;
    const int count = kFewestGuardTones + noteFromRandom(random.next(), kCounts);
    std::vector<double> tones;
    for (int i = 0; i < count; ++i) {
        // A semitone of the span, then a place within it that keeps off both its edges.
        const int semitone = noteFromRandom(random.next(), int(kHighestGuardKey - kLowestGuardKey));
        const double within = kGuardOffGrid + (1.0 - 2.0 * kGuardOffGrid) * random.next();
        const double key = kLowestGuardKey + semitone + within;
        tones.push_back(a4 * std::pow(2.0, (key - 69.0) / 12.0));
    }
    return tones;
}

}  // namespace tonarika
