#include "DailyOverview.h"

// own
#include "LearnedRule.h"

// std
#include <algorithm>
#include <array>

namespace tonarika {

namespace {

// Each note's first answers in Easy and in Hard so far, as the learned rule reads them.
class LearnedSoFar {
public:
    void add(const Trial& row)
    {
        if (row.mode == Mode::Easy || row.mode == Mode::Hard)
            m_answers[row.mode == Mode::Hard][row.asked].push_back({row.right(), row.reactionMs});
    }
    int count(Mode mode) const
    {
        int learned = 0;
        for (const auto& answers : m_answers[mode == Mode::Hard])
            learned += isLearned(answers);
        return learned;
    }

private:
    std::array<std::array<std::vector<NoteAnswer>, kNoteCount>, 2> m_answers;
};

}  // namespace

DailyOverview dailyOverview(const std::vector<Trial>& rows, const std::vector<PracticeMoment>& presses,
                            std::int64_t today, int goalMinutes)
{
    DailyOverview overview;
    overview.days = dayFigures(rows, presses);
    std::map<std::int64_t, std::int64_t> msByDay;
    for (const auto& [day, figure] : overview.days) {
        msByDay[day] = figure.practisedMs;
        overview.totalMs += figure.practisedMs;
        if (day > today - 7 && day <= today)
            overview.weekMs += figure.practisedMs;
    }
    overview.streaks = streaks(countedDays(msByDay, goalMinutes), today);

    std::vector<const Trial*> byTime;
    for (const Trial& row : rows)
        byTime.push_back(&row);
    std::stable_sort(byTime.begin(), byTime.end(), [](const Trial* a, const Trial* b) { return a->answeredAtMs < b->answeredAtMs; });
    LearnedSoFar learned;
    auto next = byTime.begin();
    std::int64_t hoursMs = 0;
    for (const auto& [day, figure] : overview.days) {
        for (; next != byTime.end() && localDay((*next)->answeredAtMs, (*next)->utcOffsetS) <= day; ++next)
            learned.add(**next);
        hoursMs += figure.practisedMs;
        overview.learned.push_back({day, double(hoursMs) / 3'600'000.0, learned.count(Mode::Easy), learned.count(Mode::Hard)});
    }
    return overview;
}

}  // namespace tonarika
