#pragma once

// own
#include "Captions.h"

// std
#include <array>
#include <optional>
#include <string_view>

namespace tonarika {

// The three modes, one per checkable item of the mode menu; and the test of absolute
// pitch and singing a named note, ways of starting the game of their own, which no menu
// item chooses.
enum class Mode { Easy, Hard, Prac, PitchTest, Sing };

// The mode's name as the mode label shows it and the score file records it.
constexpr std::string_view modeName(Mode mode)
{
    switch (mode) {
    case Mode::Easy: return captions::kEasy;
    case Mode::Hard: return captions::kHard;
    case Mode::Prac: return captions::kPractice;
    case Mode::PitchTest: return captions::kPitchTestLabel;
    case Mode::Sing: return captions::kSingLabel;
    }
    return {};
}

// The modes the journal keeps answers of, by the key it stores: a key of its own, never a
// caption, so that no caption's wording changes what a journal holds. Practice's key
// presses are kept apart from the answers, only for the time practised.
inline constexpr std::array<std::pair<Mode, std::string_view>, 5> kJournalModes{{
    {Mode::Easy, "Easy"},
    {Mode::Hard, "Hard"},
    {Mode::PitchTest, "Test"},
    {Mode::Prac, "Practice"},
    {Mode::Sing, "Sing"},
}};

constexpr std::string_view modeKey(Mode mode)
{
    for (const auto& [known, key] : kJournalModes) {
        if (known == mode)
            return key;
    }
    return {};
}

constexpr std::optional<Mode> modeFromKey(std::string_view key)
{
    for (const auto& [mode, known] : kJournalModes) {
        if (known == key)
            return mode;
    }
    return std::nullopt;
}

}  // namespace tonarika
