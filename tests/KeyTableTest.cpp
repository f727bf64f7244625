// own
#include "KeyTable.h"

// std
#include <gtest/gtest.h>

namespace tonarika {
namespace {

TEST(KeyTable, twelveLettersAnswerLikeAPianoOctave)
{
    const char* keys = "ASDFJKLWEUIO";
    for (int note = 0; note < 12; ++note)
        EXPECT_EQ(keyToNote(keys[note]), note) << keys[note];
    for (int note = 0; note < 12; ++note)
        EXPECT_EQ(noteToKey(note), keys[note]) << "the inverse, for the keys' descriptions";
    for (const int ignored : std::initializer_list<int>{'G', 'H', 'R', 'T', 'Y', 'Q', 'Z', ' ', 0x01000004 /* Return */})
        EXPECT_FALSE(keyToNote(ignored).has_value()) << ignored;
}

}  // namespace
}  // namespace tonarika
