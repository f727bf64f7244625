#pragma once

// own
#include "LearnedRule.h"

// std
#include <initializer_list>
#include <optional>

namespace tonarika::test {

// The notes learned, as a test sets them; the same in every mode. None: not known yet.
class FixedLearned : public LearnedNotesSource {
public:
    std::optional<NoteSet> learned;
    std::optional<NoteSet> learnedNotes(Mode) const override { return learned; }
};

inline NoteSet notesOf(std::initializer_list<int> notes)
{
    NoteSet set;
    for (const int note : notes)
        set.add(note);
    return set;
}

}  // namespace tonarika::test
