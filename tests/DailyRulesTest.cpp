// The rules of the day: the time practised, the answer window, the streak, and what the
// title and the reminder say.

// own
#include "DailyRules.h"

// std
#include <gtest/gtest.h>

namespace tonarika::test {
namespace {

constexpr std::int64_t kMidnightUtc = 1'796'774'400'000;  // 2026-12-09 00:00 UTC, day 20796
constexpr std::int32_t kTokyo = 9 * 3600;
constexpr std::int64_t kS = 1000;

// Each gap up to a minute, and the day's first answer's reaction time up to a minute too,
// whichever mode it came from; a day split at local midnight; a day with no answer absent.
TEST(PracticeTime, countsEachGapUpToAMinuteWithinItsLocalDay)
{
    const std::int64_t at = kMidnightUtc + 12 * 3600 * kS;  // 21:00 in Tokyo
    const struct {
        const char* what;
        std::vector<PracticeMoment> moments;
        std::map<std::int64_t, std::int64_t> expected;
    } cases[] = {
        {"no answer", {}, {}},
        {"one answer", {{at, kTokyo, 1500}}, {{20796, 1500}}},
        {"two answers", {{at, kTokyo, 2000}, {at + 10 * kS, kTokyo, 800}}, {{20796, 12'000}}},
        {"in any order", {{at + 10 * kS, kTokyo, 800}, {at, kTokyo, 2000}}, {{20796, 12'000}}},
        {"a pause over a minute", {{at, kTokyo, 3000}, {at + 90 * kS, kTokyo, 1000}}, {{20796, 63'000}}},
        {"a question over a minute", {{at, kTokyo, 90'000}}, {{20796, 60'000}}},
        {"practice's presses and a test's answer",
         {{at, kTokyo, std::nullopt}, {at + 5 * kS, kTokyo, 4000}, {at + 7 * kS, kTokyo, std::nullopt}},
         {{20796, 7000}}},
        // 23:59:50 and 00:00:10 in Tokyo: two days, each with its first answer's time.
        {"local midnight",
         {{kMidnightUtc + 15 * 3600 * kS - 10 * kS, kTokyo, 2000}, {kMidnightUtc + 15 * 3600 * kS + 10 * kS, kTokyo, 4000}},
         {{20796, 2000}, {20797, 4000}}},
        // The same moment is on the day before in New York.
        {"the offset decides the day", {{kMidnightUtc + 3600 * kS, -5 * 3600, 1000}}, {{20795, 1000}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(practiceMsByDay(c.moments), c.expected) << c.what;
}

// Off, fixed, or from 2 s down by 0.1 s a note learned to 1.3 s; exactly the window is in time.
TEST(AnswerWindowRule, givesTheWindowInForceAndCountsOnlyWhatIsLaterThanIt)
{
    const struct {
        AnswerWindow window;
        int learned;
        std::optional<std::uint32_t> expected;
    } windows[] = {
        {{}, 5, std::nullopt},
        {{AnswerWindow::Kind::Fixed, 1500}, 0, 1500},
        {{AnswerWindow::Kind::Fixed, 5000}, 12, 5000},
        {{AnswerWindow::Kind::Adaptive, 0}, 0, 2000},
        {{AnswerWindow::Kind::Adaptive, 0}, 1, 1900},
        {{AnswerWindow::Kind::Adaptive, 0}, 3, 1700},
        {{AnswerWindow::Kind::Adaptive, 0}, 7, 1300},
        {{AnswerWindow::Kind::Adaptive, 0}, 12, 1300},
    };
    for (const auto& c : windows)
        EXPECT_EQ(windowMs(c.window, c.learned), c.expected) << c.learned;

    const struct {
        std::optional<std::uint32_t> reactionMs;
        std::optional<std::uint32_t> windowMs;
        bool late;
    } answers[] = {
        {1500, 1500, false}, {1501, 1500, true}, {900, 1500, false},
        {std::nullopt, 1500, false},  // its note never sounded: not timed
        {9000, std::nullopt, false},  // no window
    };
    for (const auto& c : answers)
        EXPECT_EQ(tooLate(c.reactionMs, c.windowMs), c.late) << c.reactionMs.value_or(0) << " in " << c.windowMs.value_or(0);
}

// Days in a row that count: a missed day breaks the run, today not yet done keeps
// yesterday's, and the change to summer time moves no answer to another day.
TEST(Streak, runsOverDaysInARowAndBreaksOnAMissedDay)
{
    const struct {
        std::set<std::int64_t> days;
        std::int64_t today;
        Streaks expected;
    } cases[] = {
        {{}, 10, {0, 0}},
        {{10}, 10, {1, 1}},
        {{1, 2, 3, 5, 6}, 6, {2, 3}},
        {{1, 2, 3, 5, 6}, 7, {2, 3}},
        {{1, 2, 3, 5, 6}, 8, {0, 3}},
        {{1, 2, 3, 4}, 2, {2, 2}},  // days after today do not count
    };
    for (const auto& c : cases)
        EXPECT_EQ(streaks(c.days, c.today), c.expected) << c.today;

    // Berlin, 28 to 30 March 2026: an hour ahead of UTC, then two. The last answer is at
    // 00:30 on the 30th by summer time, at 23:30 on the 29th by winter time.
    const std::vector<PracticeMoment> spring{
        {1'774'728'000'000, 3600, 1000},   // 28th 21:00
        {1'774'818'000'000, 7200, 1000},   // 29th 23:00
        {1'774'823'400'000, 7200, 1000},   // 30th 00:30
    };
    const auto byDay = practiceMsByDay(spring);
    EXPECT_EQ(streaks(countedDays(byDay, 0), 20542), (Streaks{3, 3}));
    // With a goal, only the days that met it count.
    EXPECT_EQ(countedDays({{1, 15 * 60'000}, {2, 15 * 60'000 - 1}, {3, 20 * 60'000}}, 15), (std::set<std::int64_t>{1, 3}));
}

TEST(DayTexts, sayTheMinutesAgainstTheGoalAndRemindOnlyWhereItIsNotMet)
{
    const struct {
        std::int64_t ms;
        int goal;
        const char* title;
    } titles[] = {
        {8 * 60'000, 15, "今日 8 / 15 分"},
        {15 * 60'000 - 1, 15, "今日 14 / 15 分"},
        {15 * 60'000, 15, "今日 15 / 15 分 ✓"},
        {40 * 60'000, 15, "今日 40 / 15 分 ✓"},
    };
    for (const auto& c : titles)
        EXPECT_EQ(goalText(c.ms, c.goal), c.title);

    EXPECT_EQ(reminderText(8 * 60'000, true, 15), "今日の練習: あと 7 分");
    EXPECT_EQ(reminderText(0, false, 15), "今日の練習: あと 15 分");
    EXPECT_EQ(reminderText(15 * 60'000, true, 15), std::nullopt);
    EXPECT_EQ(reminderText(0, true, 0), std::nullopt);
    EXPECT_EQ(reminderText(0, false, 0), "今日の練習: まだ 1 問も答えていません");
}

}  // namespace
}  // namespace tonarika::test
