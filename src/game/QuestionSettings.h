#pragma once

// own
#include "Timbre.h"

// std
#include <vector>

namespace tonarika {

// What the player chose to be asked, beside the mode. The defaults ask the twelve piano
// notes of the middle octave, with nothing before them.
struct QuestionSettings {
    std::vector<Timbre> timbres{Timbre::Piano};  // never empty, no timbre twice
    bool threeOctaves = false;                   // octaves 3 to 5 rather than 4 alone
    bool guard = false;                          // tones before each question, and no near leap
    bool weakNotes = false;                      // the notes the player misses asked more often
    friend bool operator==(const QuestionSettings&, const QuestionSettings&) = default;

    // Anything but the piano's middle octave, drawn evenly, with nothing before it.
    bool beyondDefaults() const { return *this != QuestionSettings{}; }
};

// Where the game finds the settings, asked again at each new question.
class QuestionSettingsSource {
public:
    virtual ~QuestionSettingsSource() = default;
    virtual QuestionSettings questionSettings() const = 0;
};

}  // namespace tonarika
