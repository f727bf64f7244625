#pragma once

// own
#include "QuestionSettings.h"
#include "Timbre.h"

// std
#include <cstdint>
#include <optional>

namespace tonarika {

// A question as drawn: its sound, at which A4, whether the guard's tones come before it,
// and the answer window in force when it was asked.
struct Question {
    NoteSound sound;
    int a4 = kDefaultA4;
    bool guard = false;
    std::optional<std::uint32_t> windowMs{};
};

}  // namespace tonarika
