#pragma once

// own
#include "Journal.h"
#include "Note.h"

// std
#include <array>
#include <vector>

namespace tonarika {

// Each note's sung answers over a period: how many, the share within ±50 cents, their
// accuracy (the mean signed error) and their precision (the spread of the errors, their
// standard deviation), in cents.
struct SungFigures {
    int answers = 0;
    double withinShare = 0;  // 0 to 1
    double meanCents = 0;
    double spreadCents = 0;  // 0 for one answer
    friend bool operator==(const SungFigures&, const SungFigures&) = default;
};

// The sung answers among `trials`, by the note asked.
std::array<SungFigures, kNoteCount> sungFigures(const std::vector<const Trial*>& trials);

}  // namespace tonarika
