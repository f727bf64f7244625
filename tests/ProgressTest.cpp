// The figures of the progress view at their edges: the weeks, the best run, the
// points the chart draws for a stretch of time, and what a screen reader hears of it.

// own
#include "ModeSeries.h"
#include "Progress.h"

// std
#include <gtest/gtest.h>

namespace tonarika {
namespace {

const QDate kToday(2026, 12, 7);

QDateTime at(qint64 daysAgo, QTime time = QTime(20, 0))
{
    return QDateTime(kToday.addDays(-daysAgo), time, Qt::UTC);
}

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

// "直近7日" is today and the six days before; "その前の7日" the seven before those.
TEST(Progress, aRunCountsInTheWeekItsDayFallsIn)
{
    const struct {
        const char* what;
        QDateTime when;
        int lastWeek;
        int weekBefore;
        bool today;
    } cases[] = {
        {"today at midnight", at(0, QTime(0, 0)), 1, 0, true},
        {"today's last minute", at(0, QTime(23, 59)), 1, 0, true},
        {"yesterday's last minute", at(1, QTime(23, 59)), 1, 0, false},
        {"6 days ago at midnight", at(6, QTime(0, 0)), 1, 0, false},
        {"7 days ago, its last minute", at(7, QTime(23, 59)), 0, 1, false},
        {"13 days ago at midnight", at(13, QTime(0, 0)), 0, 1, false},
        {"14 days ago, its last minute", at(14, QTime(23, 59)), 0, 0, false},
        {"tomorrow, from a clock set wrong", at(-1, QTime(0, 0)), 0, 0, false},
    };
    for (const auto& c : cases) {
        const ModeSummary summary = summarize({{c.when, "Easy", 1, 10}}, "Easy", kToday);
        EXPECT_EQ(summary.runs, 1) << c.what;
        EXPECT_EQ(summary.lastWeek.runs, c.lastWeek) << c.what;
        EXPECT_EQ(summary.weekBefore.runs, c.weekBefore) << c.what;
        EXPECT_EQ(summary.lastWeek.rate.has_value(), c.lastWeek > 0) << c.what;
        EXPECT_EQ(summary.questionsToday, c.today ? 10u : 0u) << c.what;
    }
}

TEST(Progress, theBestRunIsTheHighestRateOfTenQuestionsOrMoreAndTheFirstOfATie)
{
    const struct {
        const char* what;
        std::vector<ScoreRecord> runs;
        std::optional<qint64> bestDaysAgo;
    } cases[] = {
        {"nine questions are too few", {{at(3), "Easy", 0, 9}}, std::nullopt},
        {"ten are enough", {{at(3), "Easy", 1, 10}}, 3},
        {"a perfect run of nine does not beat a run of ten", {{at(3), "Easy", 5, 10}, {at(2), "Easy", 0, 9}}, 3},
        {"a tie keeps the earlier run", {{at(3), "Easy", 1, 10}, {at(2), "Easy", 2, 20}}, 3},
        {"a higher rate wins", {{at(3), "Easy", 1, 10}, {at(2), "Easy", 1, 20}}, 2},
        {"another mode's run is not this mode's", {{at(3), "Hard", 0, 10}}, std::nullopt},
    };
    for (const auto& c : cases) {
        const ModeSummary summary = summarize(c.runs, "Easy", kToday);
        ASSERT_EQ(summary.bestRun.has_value(), c.bestDaysAgo.has_value()) << c.what;
        if (c.bestDaysAgo) {
            EXPECT_EQ(summary.bestRun->when, at(*c.bestDaysAgo)) << c.what;
        }
    }
}

TEST(Progress, aRateSaysHowManyRunsItComesFrom)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(rateOfRunsText({90.0, 2}), QStringLiteral("90.0 % (2 回)"));
    EXPECT_EQ(rateOfRunsText({std::nullopt, 0}), QStringLiteral("―"));
    EXPECT_EQ(dateTimeText(QDateTime(QDate(2026, 11, 27), QTime(19, 30), Qt::UTC)), QStringLiteral("2026/11/27 19:30"));
    QLocale::setDefault(QLocale::system());
}

class ChartPointsTest : public ::testing::Test {
protected:
    std::vector<ScoreRecord> records;
    ModeSeries series;

    // `count` runs, one every `hours` hours from the first of December 2026.
    void runs(int count, int hours)
    {
        records.clear();
        for (int i = 0; i < count; ++i)
            records.push_back({QDateTime(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC).addSecs(qint64(i) * hours * 3600), "Easy",
                               std::uint32_t(i % 3), 10});
        std::vector<const ScoreRecord*> pointers;
        for (const auto& record : records)
            pointers.push_back(&record);
        series = ModeSeries(pointers);
    }
    std::int64_t ms(int index) const { return records[size_t(index)].when.toMSecsSinceEpoch(); }
};

TEST_F(ChartPointsTest, fewRunsInViewAreDrawnOneByOneWithOneMoreOnEachSide)
{
    runs(10, 1);
    const auto points = chartPoints(series, ms(3), ms(6), 4);
    ASSERT_EQ(points.size(), 6u);  // runs 2 to 7
    EXPECT_EQ(points.front().first, 2u);
    EXPECT_EQ(points.back().last, 8u);
    EXPECT_DOUBLE_EQ(points[1].rate, records[3].rate());
    EXPECT_DOUBLE_EQ(points[1].average, movingAverage({100, 90, 80, 100})[3]);
}

TEST_F(ChartPointsTest, oneRunMoreThanFitsGroupsThemByDayAtMidnight)
{
    // Six runs a day, four hours apart: 00:00 ... 20:00.
    runs(6 * 10, 4);
    const std::int64_t from = ms(0), to = ms(59);
    ASSERT_EQ(groupDays(series, from, to, 60), 0) << "60 runs fit 60 points";
    ASSERT_EQ(groupDays(series, from, to, 59), 1) << "60 runs do not fit 59";
    const auto days = chartPoints(series, from, to, 59);
    ASSERT_EQ(days.size(), 10u);
    for (const ChartPoint& day : days) {
        EXPECT_EQ(day.last - day.first, 6u);
        EXPECT_EQ(records[day.first].when.time(), QTime(0, 0)) << "a day starts at midnight";
    }
    EXPECT_DOUBLE_EQ(days[0].rate, series.rate(0, 6));
    EXPECT_EQ(days[0].when, ms(5)) << "a group stands at its last run";
}

TEST_F(ChartPointsTest, aLongHistoryNeverDrawsMoreThanItsLimit)
{
    runs(100'000, 3);  // 34 years
    for (const std::size_t limit : {size_t(1000), size_t(50), size_t(5)}) {
        const auto points = chartPoints(series, ms(0), ms(99'999), limit);
        EXPECT_LE(points.size(), limit + 2) << limit;
        std::uint64_t questions = 0;
        for (const ChartPoint& point : points)
            questions += series.questions(point.first, point.last);
        EXPECT_EQ(questions, 1'000'000u) << "every run is in one point";
    }
    EXPECT_EQ(chartPoints(series, ms(10), ms(9), 10).size(), 0u) << "an empty stretch of time";
}

TEST_F(ChartPointsTest, aScreenReaderHearsTheRunsTheLatestAverageAndItsChange)
{
    runs(12, 24);  // rates 100, 90, 80, 100, ...
    EXPECT_EQ(chartSummary("Easy", series, ms(0), ms(11)),
              QStringLiteral("Easy: 表示中の期間に 12 回。直近10回の平均 %1 %、期間の初めから %2 ポイント。")
                  .arg(QLocale().toString(series.average(11), 'f', 1),
                       QLocale().toString(series.average(11) - 100.0, 'f', 1)));
    EXPECT_EQ(chartSummary("Hard", ModeSeries(), ms(0), ms(11)), QStringLiteral("Hard: 表示中の期間に記録はありません。"));
}

}  // namespace
}  // namespace tonarika
