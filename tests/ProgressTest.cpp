// own
#include "Progress.h"

// std
#include <gtest/gtest.h>

namespace tonarika {
namespace {

TEST(Progress, movingAverageTakesTheLastTenRunsOrAsManyAsThereAre)
{
    std::vector<double> rates;
    for (int i = 1; i <= 12; ++i)
        rates.push_back(i * 10.0);
    const auto averages = movingAverage(rates);
    ASSERT_EQ(averages.size(), 12u);
    EXPECT_DOUBLE_EQ(averages[0], 10.0);
    EXPECT_DOUBLE_EQ(averages[1], 15.0);
    EXPECT_DOUBLE_EQ(averages[9], 55.0);   // 10..100
    EXPECT_DOUBLE_EQ(averages[11], 75.0);  // 30..120
}

TEST(Progress, aModesTableSumsItsRunsAndComparesTheLastWeekWithTheOneBefore)
{
    const QDate today(2026, 12, 7);
    const auto at = [&today](int daysAgo) { return QDateTime(today.addDays(-daysAgo), QTime(20, 0), Qt::UTC); };
    const std::vector<ScoreRecord> records{
        {at(20), "Easy", 5, 10},  // 50 %, long ago
        {at(10), "Easy", 2, 10},  // 80 %, the week before
        {at(3), "Easy", 1, 20},   // 95 %, this week: the best run
        {at(0), "Easy", 0, 5},    // 100 %, today, but under 10 questions
        {at(0), "Hard", 3, 12},
    };
    const ModeSummary easy = summarize(records, "Easy", today);
    EXPECT_EQ(easy.runs, 4);
    EXPECT_EQ(easy.questions, 45u);
    EXPECT_EQ(easy.misses, 8u);
    EXPECT_NEAR(*easy.rate, 37.0 / 45.0 * 100.0, 1e-9);
    ASSERT_TRUE(easy.bestRun);
    EXPECT_EQ(easy.bestRun->when, at(3));
    EXPECT_NEAR(*easy.lastWeekRate, 24.0 / 25.0 * 100.0, 1e-9);
    EXPECT_NEAR(*easy.weekBeforeRate, 80.0, 1e-9);
    EXPECT_EQ(easy.questionsToday, 5u);

    const ModeSummary hard = summarize(records, "Hard", today);
    EXPECT_EQ(hard.runs, 1);
    EXPECT_FALSE(hard.weekBeforeRate) << "no run, no rate";
}

}  // namespace
}  // namespace tonarika
