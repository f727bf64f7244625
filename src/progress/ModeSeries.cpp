#include "ModeSeries.h"

// own
#include "Progress.h"

// std
#include <algorithm>

namespace tonarika {

namespace {

constexpr std::int64_t kDay = 24 * 3600 * 1000LL;

// Rounds down, for times before 1970 as well.
std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

ModeSeries::ModeSeries(const std::vector<const ScoreRecord*>& runs)
{
    m_when.reserve(runs.size());
    m_questions.reserve(runs.size() + 1);
    m_misses.reserve(runs.size() + 1);
    std::vector<double> rates;
    rates.reserve(runs.size());
    for (const ScoreRecord* run : runs) {
        m_when.push_back(run->when.toMSecsSinceEpoch());
        m_questions.push_back(m_questions.back() + run->questions);
        m_misses.push_back(m_misses.back() + run->misses);
        rates.push_back(run->rate());
    }
    m_average = movingAverage(rates);
}

double ModeSeries::rate(std::size_t first, std::size_t last) const
{
    const std::uint64_t asked = questions(first, last);
    return asked == 0 ? 0.0 : double(asked - misses(first, last)) / double(asked) * 100.0;
}

std::size_t ModeSeries::firstAtOrAfter(std::int64_t time) const
{
    return std::size_t(std::lower_bound(m_when.begin(), m_when.end(), time) - m_when.begin());
}

std::int64_t groupDays(const ModeSeries& series, std::int64_t from, std::int64_t to, std::size_t maxPoints)
{
    if (series.firstAtOrAfter(to + 1) - series.firstAtOrAfter(from) <= maxPoints)
        return 0;
    for (const std::int64_t days : kGroupDays) {
        if (days > 0 && std::size_t((to - from) / (days * kDay)) + 1 <= maxPoints)
            return days;
    }
    return kGroupDays[std::size(kGroupDays) - 1];
}

std::vector<ChartPoint> chartPoints(const ModeSeries& series, std::int64_t from, std::int64_t to, std::size_t maxPoints)
{
    std::vector<ChartPoint> points;
    if (series.size() == 0 || to < from)
        return points;
    const std::int64_t days = groupDays(series, from, to, maxPoints);
    const std::size_t begin = series.firstAtOrAfter(from);
    const std::size_t end = series.firstAtOrAfter(to + 1);
    const auto point = [&series](std::size_t first, std::size_t last) {
        return ChartPoint{series.when(last - 1), series.rate(first, last), series.average(last - 1), first, last};
    };
    if (days == 0) {
        for (std::size_t run = begin > 0 ? begin - 1 : 0; run < std::min(end + 1, series.size()); ++run)
            points.push_back(point(run, run + 1));
        return points;
    }
    const std::int64_t span = days * kDay;
    // The group before `from`, the groups in [from, to], and the group after `to`.
    std::size_t run = begin > 0 ? series.firstAtOrAfter(floorDiv(series.when(begin - 1), span) * span) : begin;
    const std::size_t stop = end < series.size() ? series.firstAtOrAfter((floorDiv(series.when(end), span) + 1) * span)
                                                 : series.size();
    while (run < stop) {
        const std::size_t next = series.firstAtOrAfter((floorDiv(series.when(run), span) + 1) * span);
        points.push_back(point(run, next));
        run = next;
    }
    return points;
}

}  // namespace tonarika
