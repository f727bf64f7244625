#pragma once

// own
#include "DailyRules.h"
#include "DayFigures.h"
#include "Journal.h"

// std
#include <cstdint>
#include <map>
#include <vector>

namespace tonarika {

// The adult study the hours are shown against (Wong et al. 2025): 21.4 hours over eight
// weeks took its learners to 7.08 of 12 notes on average. A reference, not a promise.
inline constexpr double kStudyHours = 21.4;
inline constexpr double kStudyNotes = 7.08;

// The notes learned in Easy and in Hard by the end of a day practised, against the hours
// practised up to then.
struct LearnedAtHours {
    std::int64_t day = 0;
    double hours = 0.0;
    int easy = 0;
    int hard = 0;
    friend bool operator==(const LearnedAtHours&, const LearnedAtHours&) = default;
};

// Everything the page of days shows, as of `today` (days since 1970 where the player is).
struct DailyOverview {
    std::map<std::int64_t, DayFigure> days;
    Streaks streaks;
    std::int64_t totalMs = 0;
    std::int64_t weekMs = 0;  // the seven days up to today
    std::vector<LearnedAtHours> learned;  // a point per day practised, in order
    friend bool operator==(const DailyOverview&, const DailyOverview&) = default;
};

DailyOverview dailyOverview(const std::vector<Trial>& rows, const std::vector<PracticeMoment>& presses,
                            std::int64_t today, int goalMinutes);

}  // namespace tonarika
