#include "DayFigures.h"

// std
#include <algorithm>

namespace tonarika {

std::map<std::int64_t, DayFigure> dayFigures(const std::vector<Trial>& rows, const std::vector<PracticeMoment>& presses)
{
    std::vector<PracticeMoment> moments = presses;
    std::vector<const Trial*> byTime;
    for (const Trial& row : rows) {
        moments.push_back({row.answeredAtMs, row.utcOffsetS, row.reactionMs});
        byTime.push_back(&row);
    }
    std::map<std::int64_t, DayFigure> days;
    for (const auto& [day, ms] : practiceMsByDay(std::move(moments)))
        days[day].practisedMs = ms;
    std::stable_sort(byTime.begin(), byTime.end(), [](const Trial* a, const Trial* b) { return a->answeredAtMs < b->answeredAtMs; });
    for (const Trial* row : byTime) {
        DayFigure& day = days[localDay(row->answeredAtMs, row->utcOffsetS)];
        ++day.questions;
        day.right += row->right();
        if (day.firstQuestions < kFirstOfDay) {
            ++day.firstQuestions;
            day.firstRight += row->right();
        }
    }
    return days;
}

}  // namespace tonarika
