#pragma once

// own
#include "DailyRules.h"
#include "Journal.h"

// std
#include <cstdint>
#include <map>
#include <vector>

namespace tonarika {

// What a local day of practice holds: its session time, its questions (first answers of
// Easy, Hard and the test; Practice's presses count for the time alone), how many were
// right, and of its first twelve questions, how many were right: what was kept overnight.
struct DayFigure {
    std::int64_t practisedMs = 0;
    int questions = 0;
    int right = 0;
    int firstQuestions = 0;  // up to kFirstOfDay
    int firstRight = 0;
    friend bool operator==(const DayFigure&, const DayFigure&) = default;
};
inline constexpr int kFirstOfDay = 12;

// Each local day that has any practice, by days since 1970-01-01.
std::map<std::int64_t, DayFigure> dayFigures(const std::vector<Trial>& rows, const std::vector<PracticeMoment>& presses);

}  // namespace tonarika
