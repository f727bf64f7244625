#pragma once

// own
#include "ScoreRecord.h"

// std
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tonarika {

// One mode's runs, prepared so that any stretch of time is summed up without walking
// its runs: their times in order, running totals of questions and misses, and the
// moving average of the rates as it stood after each run.
class ModeSeries {
public:
    ModeSeries() = default;
    // `runs` are one mode's records in time order.
    explicit ModeSeries(const std::vector<const ScoreRecord*>& runs);

    std::size_t size() const { return m_when.size(); }
    // A run's time: its wall-clock time in milliseconds, read as UTC.
    std::int64_t when(std::size_t run) const { return m_when[run]; }
    double average(std::size_t run) const { return m_average[run]; }
    // Questions and misses of the runs [first, last).
    std::uint64_t questions(std::size_t first, std::size_t last) const { return m_questions[last] - m_questions[first]; }
    std::uint64_t misses(std::size_t first, std::size_t last) const { return m_misses[last] - m_misses[first]; }
    double rate(std::size_t first, std::size_t last) const;
    // The first run at or after `time`.
    std::size_t firstAtOrAfter(std::int64_t time) const;

private:
    std::vector<std::int64_t> m_when;
    std::vector<std::uint64_t> m_questions{0};  // before each run, and after the last
    std::vector<std::uint64_t> m_misses{0};
    std::vector<double> m_average;
};

// One point of the chart: a run, or the runs [first, last) of a day, a week, a month or
// a year. It stands at its last run, with the rate of all its questions, and carries the
// moving average as it stood after that run.
struct ChartPoint {
    std::int64_t when = 0;
    double rate = 0;
    double average = 0;
    std::size_t first = 0;
    std::size_t last = 0;
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// How many days one point of the chart spans; 0: one point per run.
inline constexpr std::int64_t kGroupDays[] = {0, 1, 7, 30, 365, 3650};

// The points to draw for the time [from, to]: one per run where no more than
// `maxPoints` runs fall in it, else one per day, week, month, year or decade, the finest
// of them that stays within `maxPoints`. One point more on each side, where there is
// one, carries the lines on to the edges.
std::vector<ChartPoint> chartPoints(const ModeSeries& series, std::int64_t from, std::int64_t to, std::size_t maxPoints);

// The days a point of chartPoints() spans for that stretch of time: an entry of kGroupDays.
std::int64_t groupDays(const ModeSeries& series, std::int64_t from, std::int64_t to, std::size_t maxPoints);

}  // namespace tonarika
