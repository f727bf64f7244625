#include "Progress.h"

// std
#include <algorithm>

namespace tonarika {

namespace {

std::optional<double> rateOf(std::uint64_t questions, std::uint64_t misses)
{
    if (questions == 0)
        return std::nullopt;
    return double(questions - misses) / double(questions) * 100.0;
}

}  // namespace

std::vector<double> movingAverage(const std::vector<double>& rates, int window)
{
    std::vector<double> averages;
    averages.reserve(rates.size());
    double sum = 0;
    for (size_t i = 0; i < rates.size(); ++i) {
        sum += rates[i];
        if (i >= static_cast<size_t>(window))
            sum -= rates[i - static_cast<size_t>(window)];
        averages.push_back(sum / double(std::min(i + 1, static_cast<size_t>(window))));
    }
    return averages;
}

ModeSummary summarize(const std::vector<ScoreRecord>& records, const QString& mode, const QDate& today)
{
    ModeSummary summary;
    std::uint64_t weekQuestions = 0, weekMisses = 0, beforeQuestions = 0, beforeMisses = 0;
    for (const ScoreRecord& record : records) {
        if (record.mode != mode)
            continue;
        ++summary.runs;
        summary.questions += record.questions;
        summary.misses += record.misses;
        if (record.questions >= kBestRunMinimumQuestions
            && (!summary.bestRun || record.rate() > summary.bestRun->rate()))
            summary.bestRun = record;
        const qint64 daysAgo = record.when.date().daysTo(today);
        if (daysAgo >= 0 && daysAgo < 7) {
            weekQuestions += record.questions;
            weekMisses += record.misses;
        } else if (daysAgo >= 7 && daysAgo < 14) {
            beforeQuestions += record.questions;
            beforeMisses += record.misses;
        }
        if (daysAgo == 0)
            summary.questionsToday += record.questions;
    }
    summary.rate = rateOf(summary.questions, summary.misses);
    summary.lastWeekRate = rateOf(weekQuestions, weekMisses);
    summary.weekBeforeRate = rateOf(beforeQuestions, beforeMisses);
    return summary;
}

}  // namespace tonarika
