#include "Timbre.h"

// std
#include <cmath>

namespace tonarika {

std::string noteSoundFile(const NoteSound& sound)
{
    if (sound.timbre == Timbre::Sine)
        return {};
    const std::string_view wavFile = kNoteTable.at(sound.note).wavFile;
    if (sound.timbre == Timbre::Piano && sound.octave == kHomeOctave)
        return std::string(wavFile);
    // "wav/Do#.wav" -> "Do#"
    const auto stem = wavFile.substr(4, wavFile.size() - 8);
    return "notes/" + std::string(timbreKey(sound.timbre)) + "/" + std::string(stem) + std::to_string(sound.octave)
           + ".flac";
}

double noteSoundHz(const NoteSound& sound, double a4)
{
    return a4 * std::pow(2.0, (midiKey(sound) - 69) / 12.0);
}

}  // namespace tonarika
