#pragma once

// own
#include "Mode.h"
#include "Note.h"
#include "QuestionSettings.h"
#include "Timbre.h"

// std
#include <cstdint>

namespace tonarika {

// The values a game writes into the journal; anything else is refused on reading, never
// cut down to something that fits.
namespace trialRules {

// No game answered before 2000, nor more than a day ahead of the clock that reads it.
inline constexpr std::int64_t kEarliestUtcMs = 946'684'800'000;  // 2000-01-01 00:00 UTC
inline constexpr std::int64_t kLatestAheadMs = 24 * 3600 * 1000;
inline constexpr std::int64_t kMaxOffsetS = 24 * 3600;
inline constexpr std::int64_t kMaxCount = 0xFFFF'FFFF;          // reaction times and plays fit 32 bits

constexpr bool validTime(std::int64_t utcMs, std::int64_t nowMs)
{
    return utcMs >= kEarliestUtcMs && utcMs <= nowMs + kLatestAheadMs;
}
// Easy never asks a black key.
constexpr bool validAsked(Mode mode, std::int64_t asked) { return mode != Mode::Easy || asked < kWhiteKeyCount; }
constexpr bool validOffset(std::int64_t seconds) { return seconds >= -kMaxOffsetS && seconds <= kMaxOffsetS; }
constexpr bool validNote(std::int64_t note) { return note >= 0 && note < kNoteCount; }
constexpr bool validReaction(std::int64_t ms) { return ms >= 0 && ms <= kMaxCount; }
constexpr bool validPlays(std::int64_t plays) { return plays >= 1 && plays <= kMaxCount; }
constexpr bool validRun(std::int64_t run) { return run >= 1; }
constexpr bool validOctave(std::int64_t octave) { return octave >= kLowestOctave && octave <= kHighestOctave; }
constexpr bool validGuard(std::int64_t guard) { return guard == 0 || guard == 1; }
constexpr bool validA4(std::int64_t a4) { return a4 >= kLowestA4 && a4 <= kHighestA4; }
constexpr bool validCents(std::int64_t cents) { return cents >= -600 && cents <= 600; }
constexpr bool validWindow(std::int64_t ms) { return ms >= kShortestWindowMs && ms <= kLongestWindowMs; }

}  // namespace trialRules

}  // namespace tonarika
