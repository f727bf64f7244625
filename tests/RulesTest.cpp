// own
#include "ClockRandom.h"
#include "KeyTable.h"
#include "Note.h"
#include "Rules.h"

// std
#include <gtest/gtest.h>
#include <cmath>
#include <set>

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
}

TEST(Rules, missTextHasPlainNumbers)
{
    EXPECT_EQ(missText(15, 2), "2/15 回");
    EXPECT_EQ(missText(1000, 0), "0/1000 回");
}

TEST(ClockRandom, valuesStayInTheUnitIntervalAndCoverEveryNote)
{
    ClockRandom random;
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        random.reseedFromClock();
        const float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        seen.insert(noteFromRandom(r, 12));
    }
    EXPECT_EQ(seen.size(), 12u);
}

TEST(KeyTable, twelveLettersAnswerLikeAPianoOctave)
{
    const char* keys = "ASDFJKLWEUIO";
    for (int note = 0; note < 12; ++note)
        EXPECT_EQ(keyToNote(keys[note]), note) << keys[note];
    for (const int ignored : std::initializer_list<int>{'G', 'H', 'R', 'T', 'Y', 'Q', 'Z', ' ', 0x01000004 /* Return */})
        EXPECT_FALSE(keyToNote(ignored).has_value()) << ignored;
}

TEST(NoteTable, namesAndFilesAreThoseShownAndShipped)
{
    EXPECT_EQ(kNoteTable[3].noteName, "\uFF8C\uFF67");  // half-width ﾌｧ
    EXPECT_EQ(kNoteTable[7].noteName, "ド＃(レ♭)");
    EXPECT_EQ(kNoteTable[11].wavFile, "wav/Ra#.wav");
    for (int i = 0; i < kNoteCount; ++i)
        EXPECT_EQ(kNoteTable[i].black, i >= kWhiteKeyCount);
    EXPECT_DOUBLE_EQ(noteFrequency(5), 440.0);
    EXPECT_NEAR(noteFrequency(0), 261.6256, 1e-4);
}

}  // namespace
}  // namespace tonarika
