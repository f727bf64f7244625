#pragma once

// own
#include "QuestionSettings.h"
#include "Timbre.h"

namespace tonarika {

// A question as drawn: its sound, at which A4, and whether the guard's tones come before it.
struct Question {
    NoteSound sound;
    int a4 = kDefaultA4;
    bool guard = false;
};

}  // namespace tonarika
