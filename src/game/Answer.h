#pragma once

// own
#include "Journal.h"
#include "Note.h"

// std
#include <chrono>
#include <optional>

namespace tonarika {

// A key pressed as an answer: its note, how it was given, and for a MIDI keyboard when
// its message arrived, which the reaction time runs to; otherwise to when it is judged.
struct Answer {
    NoteIndex note = 0;
    AnswerInput input = AnswerInput::Mouse;
    std::optional<std::chrono::steady_clock::time_point> arrived;
};

}  // namespace tonarika
