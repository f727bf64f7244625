// own
#include "ScoreLine.h"

// std
#include <gtest/gtest.h>

namespace tonarika {
namespace {

const QLocale kJapanese(QLocale::Japanese, QLocale::Japan);
const QDateTime kMondayEvening(QDate(2001, 2, 5), QTime(21, 7, 42));

QString line(std::uint32_t questions, std::uint32_t misses, const std::string& rate, const std::string& mode = "Easy")
{
    return scoreLine({mode, misses, questions, rate}, kMondayEvening, kJapanese);
}

TEST(ScoreLine, workedExampleReadsExactlyUnderAJapaneseLocale)
{
    const QString expected = QStringLiteral("2001/02/05(月) 21:07\u3000\u3000Easy   \u3000 3/10 回       70.0 %");
    const QString actual = line(10, 3, "70.0 %");
    EXPECT_EQ(actual.toStdString(), expected.toStdString());
    EXPECT_EQ(actual.size(), 49);
    EXPECT_EQ(actual.indexOf(QStringLiteral("\u3000 3")), 28);
    EXPECT_EQ(actual.indexOf(QStringLiteral(" 70.0")), 42);
}

TEST(ScoreLine, padsRightAlignTheCountsAndTheRate)
{
    const QString nineOfNine = line(9, 0, "100.0 %");
    EXPECT_EQ(nineOfNine.mid(28, 8).toStdString(), "\u3000 0/ 9 回");
    EXPECT_EQ(nineOfNine.mid(42).toStdString(), "100.0 %");

    EXPECT_EQ(line(10, 9, "10.0 %").mid(42).toStdString(), " 10.0 %") << "a rate of exactly 10 takes one space";
    EXPECT_EQ(line(4, 4, "0.0 %").mid(42).toStdString(), "  0.0 %");
    // 25 of 251 is 9.96...: the caption says 10.0 but the pad follows the exact rate.
    EXPECT_EQ(line(251, 226, "10.0 %").mid(42).toStdString(), "  10.0 %");
    EXPECT_EQ(line(12, 12, "0.0 %").mid(28, 8).toStdString(), "\u300012/12 回");
}

TEST(ScoreLine, longerCountsStillStartTheRateOnAPrintZone)
{
    const QString hundred = line(100, 5, "95.0 %");
    EXPECT_EQ(hundred.mid(28, 9).toStdString(), "\u3000 5/100 回");
    EXPECT_EQ(hundred.indexOf(QStringLiteral(" 95.0 %")), 42);

    const QString thousand = line(1000, 250, "75.0 %");
    EXPECT_EQ(thousand.indexOf(QStringLiteral(" 75.0 %")), 42);

    const QString huge = line(123456, 12345, "90.0 %");
    EXPECT_EQ(huge.indexOf(QStringLiteral(" 90.0 %")), 56) << "a field past 42 moves the rate to the next zone";
}

TEST(ScoreLine, modeNamesAndOtherLocalesFollowTheirOwnFormats)
{
    EXPECT_EQ(line(3, 1, "66.7 %", "Hard").mid(21, 4).toStdString(), "Hard");
    const QString english = scoreLine({"Easy", 1, 3, "66.7 %"}, kMondayEvening, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(english.startsWith(QStringLiteral("2/5/01(Mon) 21:07"))) << english.toStdString();
    EXPECT_EQ(english.indexOf(QStringLiteral("\u3000 1/ 3 回")), 28);
}

TEST(ScoreLine, zonePadReachesTheNextMultipleOfFourteen)
{
    EXPECT_EQ(zonePad(25).size(), 3);
    EXPECT_EQ(zonePad(27).size(), 1);
    EXPECT_EQ(zonePad(28).size(), 0);
    EXPECT_EQ(zonePad(29).size(), 13);
}

TEST(ScoreHead, isTheBannerAnEmptyLineAndTheColumnHeader)
{
    EXPECT_EQ(scoreHead().toStdString(),
              "//\u3000「 Tonarika 」\u3000スコアファイル\u3000//\r\n\r\n"
              "-日付-\u3000\u3000\u3000\u3000\u3000\u3000    -モード-    -ミス-    \u3000 -正解率-\r\n");
}

}  // namespace
}  // namespace tonarika
