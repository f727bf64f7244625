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

// Each note's place in the octave, in semitones up from Do.
inline constexpr std::array<int, kNoteCount> kSemitone{0, 2, 4, 5, 7, 9, 11, 1, 3, 6, 8, 10};

// The notes as the keyboard lays them out, left to right: in the order of their pitch.
inline constexpr std::array<int, kNoteCount> kKeyboardOrder = [] {
    std::array<int, kNoteCount> order{};
    for (int note = 0; note < kNoteCount; ++note)
        order[static_cast<std::size_t>(kSemitone[static_cast<std::size_t>(note)])] = note;
    return order;
}();

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
