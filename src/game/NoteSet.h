#pragma once

// own
#include "Mode.h"
#include "Note.h"

// std
#include <cstdint>

namespace tonarika {

// Some of the twelve notes, by note index.
class NoteSet {
public:
    constexpr NoteSet() = default;
    static constexpr NoteSet ofBits(std::uint16_t bits) { return NoteSet(bits); }
    static constexpr NoteSet all() { return NoteSet((1u << kNoteCount) - 1); }
    // The notes a mode asks: the seven white keys in Easy, all twelve in Hard.
    static constexpr NoteSet ofMode(Mode mode) { return mode == Mode::Easy ? NoteSet((1u << kWhiteKeyCount) - 1) : all(); }

    constexpr bool contains(int note) const { return note >= 0 && note < kNoteCount && (m_bits >> note) & 1u; }
    constexpr void add(int note) { m_bits = std::uint16_t(m_bits | (1u << note)); }
    constexpr int size() const
    {
        int count = 0;
        for (int note = 0; note < kNoteCount; ++note)
            count += contains(note);
        return count;
    }
    constexpr NoteSet within(NoteSet other) const { return NoteSet(std::uint16_t(m_bits & other.m_bits)); }
    constexpr std::uint16_t bits() const { return m_bits; }
    friend constexpr bool operator==(NoteSet, NoteSet) = default;

private:
    constexpr explicit NoteSet(unsigned bits) : m_bits(std::uint16_t(bits)) {}
    std::uint16_t m_bits = 0;
};

}  // namespace tonarika
