#pragma once

// own
#include "Note.h"

// own
#include "Wording.h"

// std
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tonarika {

// The instruments a question can sound in. The piano is the default and the only one
// whose middle octave lies in wav/; the pure tone is computed, never read from a file.
enum class Timbre : std::uint8_t { Piano, Marimba, Guitar, Clarinet, Trumpet, Sine };

inline constexpr int kTimbreCount = 6;

struct TimbreRow {
    Timbre timbre;
    std::string_view key;   // as the settings file and the journal spell it
    std::string_view name;  // as the companion shows it: one of the game's texts (Wording)
    int gmProgram;          // the General MIDI program it is rendered from; -1 for none
};

inline constexpr std::array<TimbreRow, kTimbreCount> kTimbreTable{{
    {Timbre::Piano, "piano", QT_TRANSLATE_NOOP("Game", "ピアノ"), 0},
    {Timbre::Marimba, "marimba", QT_TRANSLATE_NOOP("Game", "マリンバ"), 12},
    {Timbre::Guitar, "guitar", QT_TRANSLATE_NOOP("Game", "ギター"), 24},
    {Timbre::Clarinet, "clarinet", QT_TRANSLATE_NOOP("Game", "クラリネット"), 71},
    {Timbre::Trumpet, "trumpet", QT_TRANSLATE_NOOP("Game", "トランペット"), 56},
    {Timbre::Sine, "sine", QT_TRANSLATE_NOOP("Game", "純音"), -1},
}};

constexpr const TimbreRow& timbreRow(Timbre timbre) { return kTimbreTable[static_cast<std::size_t>(timbre)]; }
constexpr std::string_view timbreKey(Timbre timbre) { return timbreRow(timbre).key; }

constexpr std::optional<Timbre> timbreFromKey(std::string_view key)
{
    for (const auto& row : kTimbreTable) {
        if (row.key == key)
            return row.timbre;
    }
    return std::nullopt;
}

// The octaves a question can sound in, by scientific pitch notation: Do4 is middle C.
inline constexpr int kLowestOctave = 3;
inline constexpr int kHomeOctave = 4;
inline constexpr int kHighestOctave = 5;

// One sound a question can ask: a note in a timbre and an octave.
struct NoteSound {
    NoteIndex note = 0;
    Timbre timbre = Timbre::Piano;
    int octave = kHomeOctave;
    friend bool operator==(const NoteSound&, const NoteSound&) = default;
};

// MIDI key number: Do4 is 60.
constexpr int midiKey(const NoteSound& sound) { return 12 * (sound.octave + 1) + kSemitone[sound.note]; }

// The file a sound is played from, relative to the notes' folder: the piano's middle
// octave is the twelve files in wav/, every other rendered sound is a FLAC file in
// notes/<timbre>/ named after the note and its octave ("notes/marimba/Do#3.flac").
// Empty for the pure tone.
std::string noteSoundFile(const NoteSound& sound);

// Equal temperament at `a4` Hz.
double noteSoundHz(const NoteSound& sound, double a4 = 440.0);

}  // namespace tonarika
