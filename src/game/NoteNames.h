#pragma once

// own
#include "Note.h"

// std
#include <string>

namespace tonarika {

// The names a player calls the notes by: fixed-do katakana as the game was designed,
// letters, solfège, the German letters with H, or the Japanese イロハ.
enum class NameSystem { Doremi, Letters, Solfege, German, Iroha };
// How a black key is named: by the white key below it raised, by the one above lowered,
// or both.
enum class Accidentals { Sharps, Flats, Both };

// The default, fixed-do katakana with both names of a black key, is what the game has
// always shown.
struct NoteNaming {
    NameSystem system = NameSystem::Doremi;
    Accidentals accidentals = Accidentals::Both;
    friend bool operator==(const NoteNaming&, const NoteNaming&) = default;
};

// A note's name in results and for screen readers: "ﾌｧ＃(ソ♭)" by default, "F♯", "Ges",
// "嬰ヘ/変ト".
std::string noteName(NoteIndex note, NoteNaming naming);

// A key's caption beside the keyboard: the designed half-width captions by default
// ("ﾄﾞ#"), otherwise the note's name; both names of a black key on two lines.
std::string keyCaption(NoteIndex note, NoteNaming naming);

}  // namespace tonarika
