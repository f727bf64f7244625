#pragma once

// own
#include "RandomSource.h"
#include "Wording.h"

// std
#include <cstdint>
#include <string>
#include <string_view>

namespace tonarika {

// prevNote's value when no note has been drawn since a clear: it matches no note.
inline constexpr std::uint8_t kNoPrevNote = 99;

// The integer part of r x n, the product taken in single precision.
int noteFromRandom(float r, int range);

// Draws notes in 0..range-1 until one differs from prevNote.
int drawNote(RandomSource& random, int range, int prevNote);

// Draws one of `notes` but prevNote, evenly, with one random value; prevNote itself where
// it is the only one.
class NoteSet;
int drawNoteIn(RandomSource& random, NoteSet notes, int prevNote);

// Correct-answer rate in percent; questionCount must not be 0.
double correctRate(std::uint32_t questionCount, std::uint32_t missCount);

// The rate caption, "66.7 %": one decimal, the locale's separator.
std::string rateText(std::uint32_t questionCount, std::uint32_t missCount,
                     std::string_view decimalSeparator);

// The misses caption, "2/15 回".
std::string missText(std::uint32_t questionCount, std::uint32_t missCount, const Wording& wording = ownWording());

// What a screen reader is told after an answer: "はずれ、ミス 1/3 回、正解率 66.7 %".
std::string answerSummary(std::string_view result, std::string_view missCaption, std::string_view rateCaption,
                          const Wording& wording = ownWording());

}  // namespace tonarika
