#pragma once

// own
#include "PitchTest.h"
#include "JournalReader.h"

// std
#include <cstdint>
#include <optional>
#include <vector>

namespace tonarika {

// One test of absolute pitch as the journal keeps it: when it began, at which A4, how
// many of its items were answered, and its score where it was finished.
struct PitchTestRecord {
    std::int64_t test = 0;
    std::int64_t startedAtMs = 0;  // its first answer, UTC
    std::int32_t utcOffsetS = 0;   // where that answer was given
    int answers = 0;
    int a4 = 440;
    std::optional<PitchTestResult> result;  // none for a test left unfinished
};

// The journal's tests in the order they were taken. A test is scored only where it holds
// what a game's finished test holds: 72 answers, 36 pure tones and 36 piano notes.
std::vector<PitchTestRecord> pitchTestRecords(const std::vector<Trial>& rows);

}  // namespace tonarika
