#pragma once

// own
#include "Note.h"
#include "Timbre.h"

// std
#include <cstdint>

namespace tonarika {

// The values a game writes into the journal; anything else is refused on reading, never
// cut down to something that fits.
namespace trialRules {

inline constexpr std::int64_t kMaxUtcMs = 253'402'300'799'999;  // the end of the year 9999
inline constexpr std::int64_t kMaxOffsetS = 24 * 3600;
inline constexpr std::int64_t kMaxCount = 0xFFFF'FFFF;          // reaction times and plays fit 32 bits

constexpr bool validTime(std::int64_t utcMs) { return utcMs >= 0 && utcMs <= kMaxUtcMs; }
constexpr bool validOffset(std::int64_t seconds) { return seconds >= -kMaxOffsetS && seconds <= kMaxOffsetS; }
constexpr bool validNote(std::int64_t note) { return note >= 0 && note < kNoteCount; }
constexpr bool validReaction(std::int64_t ms) { return ms >= 0 && ms <= kMaxCount; }
constexpr bool validPlays(std::int64_t plays) { return plays >= 1 && plays <= kMaxCount; }
constexpr bool validRun(std::int64_t run) { return run >= 1; }
constexpr bool validOctave(std::int64_t octave) { return octave >= kLowestOctave && octave <= kHighestOctave; }
constexpr bool validGuard(std::int64_t guard) { return guard == 0 || guard == 1; }

}  // namespace trialRules

}  // namespace tonarika
