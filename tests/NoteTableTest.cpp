// own
#include "Note.h"

// std
#include <gtest/gtest.h>

namespace tonarika {
namespace {

TEST(NoteTable, namesAndFilesAreThoseShownAndShipped)
{
    EXPECT_EQ(kNoteTable[3].noteName, "\uFF8C\uFF67");  // half-width ﾌｧ
    EXPECT_EQ(kNoteTable[7].noteName, "ド＃(レ♭)");
    EXPECT_EQ(kNoteTable[11].wavFile, "wav/Ra#.wav");
    for (int i = 0; i < kNoteCount; ++i)
        EXPECT_EQ(kNoteTable[i].black, i >= kWhiteKeyCount);
}

}  // namespace
}  // namespace tonarika
