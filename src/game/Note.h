#pragma once

// std
#include <array>
#include <cstdint>
#include <string_view>

namespace tonarika {

// A note index 0-11: 0-6 the white keys Do..Si, 7-11 the black keys Do#..Ra#.
// It is also the index of the note button and of the keyboard table.
using NoteIndex = std::uint8_t;

inline constexpr int kNoteCount = 12;
inline constexpr int kWhiteKeyCount = 7;

struct NoteRow {
    std::string_view wavFile;   // relative path, resolved by the player
    std::string_view noteName;  // shown in the result label in practice mode
    bool black;
};

// "ﾌｧ" is half-width katakana on purpose; the sharps in the names are full-width.
inline constexpr std::array<NoteRow, kNoteCount> kNoteTable{{
    {"wav/Do.wav", "ド", false},
    {"wav/Re.wav", "レ", false},
    {"wav/Mi.wav", "ミ", false},
    {"wav/Fa.wav", "ﾌｧ", false},
    {"wav/So.wav", "ソ", false},
    {"wav/Ra.wav", "ラ", false},
    {"wav/Si.wav", "シ", false},
    {"wav/Do#.wav", "ド＃(レ♭)", true},
    {"wav/Re#.wav", "レ＃(ミ♭)", true},
    {"wav/Fa#.wav", "ﾌｧ＃(ソ♭)", true},
    {"wav/So#.wav", "ソ＃(ラ♭)", true},
    {"wav/Ra#.wav", "ラ＃(シ♭)", true},
}};

}  // namespace tonarika
