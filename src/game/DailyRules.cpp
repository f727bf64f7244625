#include "DailyRules.h"

// std
#include <algorithm>

namespace tonarika {

std::optional<std::uint32_t> windowMs(const AnswerWindow& window, int learnedNotes)
{
    switch (window.kind) {
    case AnswerWindow::Kind::Off: return std::nullopt;
    case AnswerWindow::Kind::Fixed: return std::clamp(window.fixedMs, kShortestWindowMs, kLongestWindowMs);
    case AnswerWindow::Kind::Adaptive: {
        const std::int64_t tightened
            = std::int64_t(kAdaptiveStartMs) - std::int64_t(std::max(learnedNotes, 0)) * std::int64_t(kAdaptiveStepMs);
        return std::uint32_t(std::max<std::int64_t>(tightened, kAdaptiveEndMs));
    }
    }
    return std::nullopt;
}

bool tooLate(std::optional<std::uint32_t> reactionMs, std::optional<std::uint32_t> windowMs)
{
    return reactionMs && windowMs && *reactionMs > *windowMs;
}

std::int64_t localDay(std::int64_t utcMs, std::int32_t utcOffsetS)
{
    constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;
    const std::int64_t local = utcMs + std::int64_t(utcOffsetS) * 1000;
    // Rounded down, before 1970 too.
    return local >= 0 ? local / kDayMs : -((-local + kDayMs - 1) / kDayMs);
}

std::map<std::int64_t, std::int64_t> practiceMsByDay(std::vector<PracticeMoment> moments)
{
    std::sort(moments.begin(), moments.end(), [](const auto& a, const auto& b) { return a.utcMs < b.utcMs; });
    std::map<std::int64_t, std::int64_t> byDay;
    std::optional<std::int64_t> previousDay;
    std::int64_t previousMs = 0;
    for (const PracticeMoment& moment : moments) {
        const std::int64_t day = localDay(moment.utcMs, moment.utcOffsetS);
        std::int64_t& total = byDay[day];
        if (previousDay == day)
            total += std::min(moment.utcMs - previousMs, kLongestGapMs);
        else
            total += std::min<std::int64_t>(moment.reactionMs.value_or(0), kLongestGapMs);
        previousDay = day;
        previousMs = moment.utcMs;
    }
    return byDay;
}

Streaks streaks(const std::set<std::int64_t>& countedDays, std::int64_t today)
{
    Streaks found;
    int run = 0;
    std::optional<std::int64_t> previous;
    for (const std::int64_t day : countedDays) {
        if (day > today)
            break;
        run = previous && *previous + 1 == day ? run + 1 : 1;
        found.longest = std::max(found.longest, run);
        previous = day;
    }
    // A day not yet counted today still carries yesterday's run.
    if (previous && (*previous == today || *previous + 1 == today))
        found.current = run;
    return found;
}

std::set<std::int64_t> countedDays(const std::map<std::int64_t, std::int64_t>& msByDay, int goalMinutes)
{
    std::set<std::int64_t> days;
    for (const auto& [day, ms] : msByDay) {
        if (goalMinutes > 0 ? wholeMinutes(ms) >= goalMinutes : true)
            days.insert(day);
    }
    return days;
}

std::string goalText(std::int64_t practisedMs, int goalMinutes, const Wording& wording)
{
    const int minutes = wholeMinutes(practisedMs);
    std::string text = worded(wording, QT_TRANSLATE_NOOP("Game", "今日 %1 / %2 分"), {std::to_string(minutes), std::to_string(goalMinutes)});
    if (minutes >= goalMinutes)
        text += " ✓";
    return text;
}

std::optional<std::string> reminderText(std::int64_t practisedMs, bool answeredToday, int goalMinutes, const Wording& wording)
{
    if (goalMinutes <= 0)
        return answeredToday ? std::nullopt
                             : std::optional<std::string>(worded(wording, QT_TRANSLATE_NOOP("Game", "今日の練習: まだ 1 問も答えていません")));
    const int left = goalMinutes - wholeMinutes(practisedMs);
    if (left <= 0)
        return std::nullopt;
    return worded(wording, QT_TRANSLATE_NOOP("Game", "今日の練習: あと %1 分"), {std::to_string(left)});
}

}  // namespace tonarika
