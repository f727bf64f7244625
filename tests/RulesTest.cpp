// own
#include "Rules.h"
#include "Wording.h"

// std
#include <gtest/gtest.h>
#include <cmath>

namespace tonarika {
namespace {

TEST(Rules, noteIsTheIntegerPartOfTheSinglePrecisionProduct)
{
    EXPECT_EQ(noteFromRandom(0.0f, 7), 0);
    EXPECT_EQ(noteFromRandom(1.0f / 7.0f, 7), 1);
    EXPECT_EQ(noteFromRandom(0.14285713f, 7), 0);
    // The largest float below 1 still lands on the last note.
    EXPECT_EQ(noteFromRandom(std::nextafter(1.0f, 0.0f), 7), 6);
    EXPECT_EQ(noteFromRandom(std::nextafter(1.0f, 0.0f), 12), 11);
}

TEST(Rules, rateTextHasOneDecimalAndTheGivenSeparator)
{
    EXPECT_EQ(rateText(1, 0, "."), "100.0 %");
    EXPECT_EQ(rateText(3, 1, "."), "66.7 %");
    EXPECT_EQ(rateText(4, 4, "."), "0.0 %");
    EXPECT_EQ(rateText(3, 2, ","), "33,3 %");
    EXPECT_EQ(rateText(251, 226, "."), "10.0 %");
    EXPECT_EQ(rateText(8, 1, "."), "87.5 %");
    EXPECT_EQ(rateText(7, 6, "."), "14.3 %");
    // Half-way between two tenths rounds up: 13 of 16 is 81.25 %.
    EXPECT_EQ(rateText(16, 3, "."), "81.3 %");
    EXPECT_EQ(rateText(16, 13, "."), "18.8 %");
}

// A text's %1 ... %9 take their arguments in one pass: an argument's own "%2" stays, a
// %n without an argument stays, and a % of a figure ("100 %") is no place.
TEST(Wording, eachPlaceTakesItsArgumentOnce)
{
    const struct {
        const char* pattern;
        std::initializer_list<std::string_view> args;
        const char* text;
    } cases[] = {
        {"はずれ — 正解: %1", {"ミ"}, "はずれ — 正解: ミ"},
        {"新しい音: %1 — これが %1 です", {"ラ"}, "新しい音: ラ — これが ラ です"},
        {"%2 before %1", {"a", "b"}, "b before a"},
        {"%1 and %2", {"%2", "x"}, "%2 and x"},
        {"%1 %2", {"a"}, "a %2"},
        {"半音違いの答え: %1 %", {"12.5"}, "半音違いの答え: 12.5 %"},
        {"100 %", {}, "100 %"},
        {"%", {"a"}, "%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(filled(c.pattern, c.args), c.text) << c.pattern;
}

TEST(Rules, missTextHasPlainNumbers)
{
    EXPECT_EQ(missText(15, 2), "2/15 回");
    EXPECT_EQ(missText(1000, 0), "0/1000 回");
}

}  // namespace
}  // namespace tonarika
