#pragma once

// own
#include "ScoreRecord.h"

// Qt
#include <QDate>

// std
#include <optional>
#include <vector>

namespace tonarika {

inline constexpr int kMovingAverageRuns = 10;
inline constexpr int kBestRunMinimumQuestions = 10;

// The mean of each run's rate over that run and the runs before it, at most `window`.
std::vector<double> movingAverage(const std::vector<double>& rates, int window = kMovingAverageRuns);

// The figures of one mode's table.
struct ModeSummary {
    int runs = 0;
    std::uint64_t questions = 0;
    std::uint64_t misses = 0;
    std::optional<double> rate;  // over all its questions
    std::optional<ScoreRecord> bestRun;  // the highest rate of a run of 10 questions or more
    std::optional<double> lastWeekRate;  // the 7 days up to today
    std::optional<double> weekBeforeRate;  // the 7 days before those
    std::uint64_t questionsToday = 0;
};

// The runs of `mode` among `records` (in time order), summed up as of `today`.
ModeSummary summarize(const std::vector<ScoreRecord>& records, const QString& mode, const QDate& today);

}  // namespace tonarika
