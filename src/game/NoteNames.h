#pragma once

// own
#include "Note.h"

// std
#include <cstdint>
#include <string>

namespace tonarika {

// The names a player calls the notes by: fixed-do katakana as the game was designed,
// letters, solfège, the German letters with H, or the Japanese イロハ.
enum class NameSystem : std::uint8_t { Doremi, Letters, Solfege, German, Iroha };
// How a black key is named: by the white key below it raised, by the one above lowered,
// or both.
enum class Accidentals : std::uint8_t { Sharps, Flats, Both };

// The default, fixed-do katakana with both names of a black key, is what the game has
// always shown. Four bytes, so that an atomic one needs no lock.
struct alignas(4) NoteNaming {
    NameSystem system = NameSystem::Doremi;
    Accidentals accidentals = Accidentals::Both;
    // The kana systems written in Latin letters ("Do", "Ha"), for a language not written in kana.
    bool latin = false;
    friend bool operator==(const NoteNaming&, const NoteNaming&) = default;
};

// A note's name in results and for screen readers: "ﾌｧ＃(ソ♭)" by default, "F♯", "Ges",
// "嬰ヘ/変ト".
std::string noteName(NoteIndex note, NoteNaming naming);

// A key's caption beside the keyboard: the designed half-width captions by default
// ("ﾄﾞ#"), otherwise the note's name; both names of a black key on two lines.
std::string keyCaption(NoteIndex note, NoteNaming naming);

}  // namespace tonarika
