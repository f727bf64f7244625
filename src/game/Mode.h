#pragma once

// own
#include "Captions.h"

// std
#include <string_view>

namespace tonarika {

// The three modes, one per checkable item of the mode menu; and the test of absolute
// pitch, a way of starting the game of its own, which no menu item chooses.
enum class Mode { Easy, Hard, Prac, Test };

// The mode's name as the mode label shows it and the score file records it.
constexpr std::string_view modeName(Mode mode)
{
    switch (mode) {
    case Mode::Easy: return captions::kEasy;
    case Mode::Hard: return captions::kHard;
    case Mode::Prac: return captions::kPractice;
    case Mode::Test: return captions::kTest;
    }
    return {};
}

}  // namespace tonarika
