// The notes' page's figures at their edges: the learned rule, medians, distances round
// the octave, and the days of a period at midnight where the player is.

// own
#include "JournalReader.h"
#include "NoteStatistics.h"
#include "SungStatistics.h"
#include "TrialJournal.h"

// Qt
#include <QDateTime>
#include <QLocale>

// system
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>

namespace tonarika {
namespace {

const QDate kToday(2026, 12, 7);
constexpr std::int32_t kTokyo = 9 * 3600;

// A trial answered at a local date and time in Tokyo.
Trial at(const QDate& day, QTime time, int asked = 0, int answered = 0, std::optional<std::uint32_t> ms = 1000,
            Mode mode = Mode::Easy)
{
    const std::int64_t utc = QDateTime(day, time, Qt::UTC).toMSecsSinceEpoch() - std::int64_t(kTokyo) * 1000;
    Trial trial{utc, mode, 1, NoteIndex(asked), NoteIndex(answered), ms, 1};
    trial.utcOffsetS = kTokyo;
    return trial;
}

TEST(NoteStatistics, aNoteIsLearnedWithNineInTenOfItsLastTwentyRightWithinTwoSeconds)
{
    const struct {
        const char* what;
        int wrongFirst;   // wrong answers before the rest
        int questions;    // in all
        int wrongInLast;  // wrong answers among the last ones
        std::optional<std::uint32_t> ms;
        bool learned;
        const char* distance;  // what the page says is still missing
    } cases[] = {
        {"twenty, all right", 0, 20, 0, 1000, true, ""},
        {"nineteen are too few", 0, 19, 0, 1000, false, "あと 1 問"},
        {"none at all", 0, 0, 0, 1000, false, "あと 20 問"},
        {"eighteen of the last twenty right", 0, 20, 2, 1000, true, ""},
        {"seventeen are too few", 0, 20, 3, 1000, false, "直近20問: 17/20"},
        {"a median of 2.0 s", 0, 20, 0, 2000, true, ""},
        {"a median of 2.001 s", 0, 20, 0, 2001, false, "中央値 2.1 秒 → 2 秒以下"},
        {"too few right and too slow", 0, 20, 3, 2400, false, "直近20問: 17/20、中央値 2.4 秒 → 2 秒以下"},
        {"no times at all", 0, 20, 0, std::nullopt, false, "中央値 ―"},
        {"early misses no longer count", 10, 30, 0, 1000, true, ""},
        // Seven misses stay among the last twenty until eighteen right answers follow.
        {"none right of seven", 7, 7, 0, 1000, false, "あと 18 問"},
        {"seven right of seven", 0, 7, 0, 1000, false, "あと 13 問"},
        {"two misses among fifteen", 0, 15, 2, 1000, false, "あと 5 問"},
        {"three misses, the last, among fifteen", 0, 15, 3, 1000, false, "あと 18 問"},
        {"twelve right, and slow", 0, 12, 0, 2800, false, "あと 8 問、中央値 2.8 秒 → 2 秒以下"},
    };
    QLocale::setDefault(QLocale::c());
    for (const auto& c : cases) {
        std::vector<Trial> rows;
        for (int i = 0; i < c.questions; ++i) {
            const bool wrong = i < c.wrongFirst || i >= c.questions - c.wrongInLast;
            rows.push_back(at(kToday, QTime(8, 0).addSecs(i), 3, wrong ? 4 : 3, c.ms));
        }
        const auto statistics = noteStatistics(selectTrials(rows, Period::All, ModeChoice::Both, kToday));
        EXPECT_EQ(statistics.notes[3].learned, c.learned) << c.what;
        EXPECT_EQ(learnedDistance(statistics.notes[3]).toStdString(), c.distance) << c.what;
        EXPECT_EQ(statistics.learned, c.learned ? 1 : 0) << c.what;
    }
    // The rule the tool tips state is the one these cases keep.
    const QString rule = learnedRule();
    for (const char* part : {"20問以上に答え", "直近20問のうち18問以上", "中央値が2秒以下"})
        EXPECT_TRUE(rule.contains(QString::fromUtf8(part))) << rule.toStdString() << " lacks " << part;
}

// Learned beyond one sound: learned, and its last 20 questions in three timbres or more and
// two octaves or more.
TEST(NoteStatistics, learnedBeyondOneSoundIsLearnedInThreeTimbresAndTwoOctaves)
{
    const struct {
        const char* what;
        int timbres, octaves, wrong;
        bool across;
    } cases[] = {
        {"three timbres, two octaves", 3, 2, 0, true},
        {"and two misses", 3, 2, 2, true},
        {"but not learned", 3, 2, 3, false},
        {"two timbres", 2, 2, 0, false},
        {"one octave", 3, 1, 0, false},
    };
    for (const auto& c : cases) {
        std::vector<Trial> rows;
        for (int i = 0; i < 20; ++i) {
            Trial row = at(kToday, QTime(8, 0).addSecs(i), 3, i < c.wrong ? 4 : 3);
            row.timbre = Timbre(i % c.timbres);
            row.octave = 3 + i % c.octaves;
            rows.push_back(row);
        }
        const auto statistics = noteStatistics(selectTrials(rows, Period::All, ModeChoice::Both, kToday));
        EXPECT_EQ(statistics.notes[3].learnedAcross, c.across) << c.what;
        EXPECT_EQ(statistics.learnedAcross, c.across ? 1 : 0) << c.what;
    }
}

// Each note's sung answers: the share within ±50 cents (the edge in), the mean signed
// error and its spread; the keys' answers, and Easy and Hard's figures, keep apart from them.
TEST(NoteStatistics, sungAnswersGiveTheirShareWithinFiftyCentsTheirMeanAndTheirSpread)
{
    std::vector<Trial> rows;
    const auto sung = [&rows](int asked, std::int32_t cents) {
        Trial trial = at(kToday, QTime(9, 0), asked, asked, 700, Mode::Sing);
        trial.centsOff = cents;
        trial.input = AnswerInput::Voice;
        rows.push_back(trial);
    };
    for (const std::int32_t cents : {-50, 10, 40, 120})
        sung(5, cents);
    sung(0, -23);
    rows.push_back(at(kToday, QTime(9, 5), 5, 5, 900, Mode::Hard));
    const auto chosen = selectTrials(rows, Period::Today, ModeChoice::Sung, kToday);
    ASSERT_EQ(chosen.size(), 5u);
    const auto figures = sungFigures(chosen);
    EXPECT_EQ(figures[5].answers, 4);
    EXPECT_DOUBLE_EQ(figures[5].withinShare, 0.75);
    EXPECT_DOUBLE_EQ(figures[5].meanCents, 30.0);
    EXPECT_NEAR(figures[5].spreadCents, 70.71, 0.01);
    EXPECT_EQ(figures[0], (SungFigures{1, 1.0, -23.0, 0.0}));
    EXPECT_EQ(figures[1].answers, 0);
    EXPECT_EQ(selectTrials(rows, Period::Today, ModeChoice::Both, kToday).size(), 1u);
    EXPECT_EQ(selectTrials(rows, Period::Today, ModeChoice::Every, kToday).size(), 6u);
}

TEST(NoteStatistics, mediansTakeTheMiddleOrTheMeanOfTheMiddleTwo)
{
    EXPECT_FALSE(medianMs({}));
    EXPECT_EQ(medianMs({5}), 5.0);
    EXPECT_EQ(medianMs({3, 1}), 2.0);
    EXPECT_EQ(medianMs({3, 1, 2}), 2.0);
    EXPECT_EQ(medianMs({4, 1, 3, 2}), 2.5);
    EXPECT_EQ(medianMs({900, 900, 100, 100000}), 900.0);
}

TEST(NoteStatistics, semitonesAreCountedTheShorterWayRoundTheOctave)
{
    const struct {
        int a, b, apart;
    } cases[] = {{0, 0, 0}, {0, 7, 1}, {0, 1, 2}, {0, 6, 1}, {6, 0, 1}, {0, 9, 6}, {11, 0, 2}, {2, 3, 1}, {4, 10, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(semitonesApart(c.a, c.b), c.apart) << c.a << " and " << c.b;
}

// A period is whole days where the player was: midnight in Tokyo, not in UTC.
TEST(NoteStatistics, aPeriodsDaysBeginAtMidnightWhereThePlayerIs)
{
    const struct {
        const char* what;
        Trial row;
        bool today, week, month;
    } cases[] = {
        {"today at midnight", at(kToday, QTime(0, 0)), true, true, true},
        {"yesterday's last minute", at(kToday.addDays(-1), QTime(23, 59)), false, true, true},
        {"6 days ago at midnight", at(kToday.addDays(-6), QTime(0, 0)), false, true, true},
        {"7 days ago, its last minute", at(kToday.addDays(-7), QTime(23, 59)), false, false, true},
        {"29 days ago at midnight", at(kToday.addDays(-29), QTime(0, 0)), false, false, true},
        {"30 days ago, its last minute", at(kToday.addDays(-30), QTime(23, 59)), false, false, false},
        {"tomorrow, from a clock set wrong", at(kToday.addDays(1), QTime(0, 0)), false, false, false},
    };
    for (const auto& c : cases) {
        const std::vector<Trial> rows{c.row};
        EXPECT_EQ(selectTrials(rows, Period::Today, ModeChoice::Both, kToday).size(), c.today ? 1u : 0u) << c.what;
        EXPECT_EQ(selectTrials(rows, Period::Week, ModeChoice::Both, kToday).size(), c.week ? 1u : 0u) << c.what;
        EXPECT_EQ(selectTrials(rows, Period::Month, ModeChoice::Both, kToday).size(), c.month ? 1u : 0u) << c.what;
        EXPECT_EQ(selectTrials(rows, Period::All, ModeChoice::Both, kToday).size(), 1u) << c.what;
        EXPECT_EQ(selectTrials(rows, Period::All, ModeChoice::Hard, kToday).size(), 0u) << c.what;
    }
}

TEST(NoteStatistics, confusionsKeyColoursAndWrongAnswersAreCounted)
{
    const QTime t(9, 0);
    const std::vector<Trial> rows{
        at(kToday, t, 0, 0, 800),               // Do right
        at(kToday, t.addSecs(1), 0, 7, 900),    // Do taken for Do#: one semitone
        at(kToday, t.addSecs(2), 0, 6, 900),    // Do taken for Si: one semitone, round the octave
        at(kToday, t.addSecs(3), 7, 7, 3000),   // Do# right
        at(kToday, t.addSecs(4), 7, 9, 1000),   // Do# taken for Fa#: five semitones
        at(kToday.addDays(-1), t, 2, 2, 1200),  // Mi right, yesterday
        at(kToday.addDays(-1), t, 2, 2, std::nullopt),
    };
    const auto s = noteStatistics(selectTrials(rows, Period::All, ModeChoice::Both, kToday));
    EXPECT_EQ(s.confusion[0][0], 1);
    EXPECT_EQ(s.confusion[0][7], 1);
    EXPECT_EQ(s.confusion[7][9], 1);
    EXPECT_EQ(s.notes[0].questions, 3);
    EXPECT_DOUBLE_EQ(*s.notes[0].rightRate, 100.0 / 3);
    EXPECT_EQ(s.notes[0].medianMs, 800.0) << "the median of right answers only";
    EXPECT_DOUBLE_EQ(*s.white.rightRate, 60.0);
    EXPECT_EQ(s.white.medianMs, 1000.0);
    EXPECT_DOUBLE_EQ(*s.black.rightRate, 50.0);
    EXPECT_EQ(s.black.medianMs, 3000.0);
    EXPECT_DOUBLE_EQ(*s.semitoneShare, 200.0 / 3);
    EXPECT_DOUBLE_EQ(*s.meanErrorSemitones, 7.0 / 3);
    ASSERT_EQ(s.dailyMedianMs.size(), 2u);
    EXPECT_EQ(s.dailyMedianMs[0], std::make_pair(kToday.addDays(-1), 1200.0));
    EXPECT_EQ(s.dailyMedianMs[1], std::make_pair(kToday, 1900.0));
}

}  // namespace
}  // namespace tonarika

namespace tonarika {
namespace {

// New York changes its clocks twice a year: each answer keeps the offset of its own moment,
// so that it falls on the day the player's clock showed, whatever the zone is when read.
TEST(NoteStatistics, anAnswerKeepsItsDayAcrossSummerTime)
{
    const auto folder = std::filesystem::temp_directory_path() / ("tonarika-summer-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    const auto file = folder / "trials.sqlite";
    const char* zone = std::getenv("TZ");
    const std::string before = zone ? zone : "";
    ::setenv("TZ", "America/New_York", 1);
    ::tzset();
    const auto utc = [](int month, int day, int hour, int minute) {
        return QDateTime(QDate(2026, month, day), QTime(hour, minute), Qt::UTC).toMSecsSinceEpoch();
    };
    constexpr std::int32_t kEst = -5 * 3600, kEdt = -4 * 3600;
    const struct {
        std::int64_t utcMs;
        std::int32_t offset;
        QDate day;
    } answers[] = {
        {utc(3, 8, 4, 59), kEst, QDate(2026, 3, 7)},    // 23:59 the evening before
        {utc(3, 8, 5, 0), kEst, QDate(2026, 3, 8)},     // midnight
        {utc(3, 8, 6, 59), kEst, QDate(2026, 3, 8)},    // 01:59, the last minute of winter time
        {utc(3, 8, 7, 0), kEdt, QDate(2026, 3, 8)},     // 03:00, the first of summer time
        {utc(3, 9, 3, 59), kEdt, QDate(2026, 3, 8)},    // 23:59, a day of 23 hours
        {utc(3, 9, 4, 0), kEdt, QDate(2026, 3, 9)},
        {utc(11, 1, 5, 30), kEdt, QDate(2026, 11, 1)},  // 01:30 summer time
        {utc(11, 1, 6, 30), kEst, QDate(2026, 11, 1)},  // 01:30 again, winter time
        {utc(11, 2, 4, 59), kEst, QDate(2026, 11, 1)},  // 23:59, a day of 25 hours
        {utc(11, 2, 5, 0), kEst, QDate(2026, 11, 2)},
    };
    {
        TrialJournal journal(file);
        for (const auto& a : answers)
            journal.record({a.utcMs, Mode::Easy, 1, 0, 0, 900, 1});
        ASSERT_TRUE(journal.flush(std::chrono::seconds(5)));
    }
    // Read in another zone: the days are the player's, not the reader's.
    ::setenv("TZ", "Asia/Tokyo", 1);
    ::tzset();
    JournalReader reader(file);
    reader.update();
    ASSERT_EQ(reader.rows().size(), std::size(answers));
    for (std::size_t i = 0; i < std::size(answers); ++i) {
        EXPECT_EQ(reader.rows()[i].utcOffsetS, answers[i].offset) << i;
        EXPECT_EQ(localDate(reader.rows()[i]), answers[i].day) << i;
    }
    EXPECT_EQ(selectTrials(reader.rows(), Period::Today, ModeChoice::Both, QDate(2026, 3, 8)).size(), 4u);
    EXPECT_EQ(selectTrials(reader.rows(), Period::Today, ModeChoice::Both, QDate(2026, 11, 1)).size(), 3u);
    EXPECT_EQ(selectTrials(reader.rows(), Period::Week, ModeChoice::Both, QDate(2026, 3, 14)).size(), 5u);
    if (zone)
        ::setenv("TZ", before.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tonarika
