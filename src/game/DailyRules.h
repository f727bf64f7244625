#pragma once

// own
#include "Wording.h"

// std
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tonarika {

// How long a right answer may take and still count: off, a fixed time, or one that
// starts at 2 s and tightens by 0.1 s for each note learned, down to 1.3 s.
struct AnswerWindow {
    enum class Kind { Off, Fixed, Adaptive };
    Kind kind = Kind::Off;
    std::uint32_t fixedMs = 0;  // Kind::Fixed: 1000 to 5000
    friend bool operator==(const AnswerWindow&, const AnswerWindow&) = default;
};
inline constexpr std::uint32_t kShortestWindowMs = 1000;
inline constexpr std::uint32_t kLongestWindowMs = 5000;
inline constexpr std::uint32_t kAdaptiveStartMs = 2000;
inline constexpr std::uint32_t kAdaptiveStepMs = 100;
inline constexpr std::uint32_t kAdaptiveEndMs = 1300;

// The window in force with `learnedNotes` notes learned in the mode; nothing where it is off.
std::optional<std::uint32_t> windowMs(const AnswerWindow& window, int learnedNotes);
// A right answer too slow for the window: only one timed from its note's sound can be.
bool tooLate(std::optional<std::uint32_t> reactionMs, std::optional<std::uint32_t> windowMs);

// What the player chose for every day: a goal in minutes (0: none) and when to be reminded.
struct DailySettings {
    int goalMinutes = 0;                   // 0, or 5 to 120
    std::optional<int> remindAtMinutes{};  // minutes after local midnight
    friend bool operator==(const DailySettings&, const DailySettings&) = default;
};
inline constexpr int kLeastGoalMinutes = 5;
inline constexpr int kMostGoalMinutes = 120;

// One moment of practice: a question's first answer, or a key pressed in Practice, with
// the offset from UTC where it happened and, for an answer, how long it took.
struct PracticeMoment {
    std::int64_t utcMs = 0;
    std::int32_t utcOffsetS = 0;
    std::optional<std::uint32_t> reactionMs{};
    friend bool operator==(const PracticeMoment&, const PracticeMoment&) = default;
};

// A pause longer than this counts only this much.
inline constexpr std::int64_t kLongestGapMs = 60'000;

// The local day of a moment, as days since 1970-01-01 where it happened.
std::int64_t localDay(std::int64_t utcMs, std::int32_t utcOffsetS);
// Session time per local day: from each moment of the day to the next, each gap counted up
// to a minute, and the day's first answer's reaction time, up to a minute too.
std::map<std::int64_t, std::int64_t> practiceMsByDay(std::vector<PracticeMoment> moments);
// Whole minutes of practice, as the goal counts them.
inline int wholeMinutes(std::int64_t ms) { return int(ms / 60'000); }

// Days in a row that count (met the goal, or any practice without one): the run that ends
// today, or yesterday where today does not count yet; and the longest.
struct Streaks {
    int current = 0;
    int longest = 0;
    friend bool operator==(const Streaks&, const Streaks&) = default;
};
Streaks streaks(const std::set<std::int64_t>& countedDays, std::int64_t today);
// The days that count: with a goal those that met it, without one any day practised.
std::set<std::int64_t> countedDays(const std::map<std::int64_t, std::int64_t>& msByDay, int goalMinutes);

// What the main window's title adds with a goal: "今日 8 / 15 分", and " ✓" once it is met.
std::string goalText(std::int64_t practisedMs, int goalMinutes, const Wording& wording = ownWording());
// The reminder's text, or nothing where no reminder is due: the goal met, or without a
// goal, any question answered today.
std::optional<std::string> reminderText(std::int64_t practisedMs, bool answeredToday, int goalMinutes,
                                        const Wording& wording = ownWording());

}  // namespace tonarika
