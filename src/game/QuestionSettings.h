#pragma once

// own
#include "DailyRules.h"
#include "NoteSet.h"
#include "Timbre.h"

// std
#include <vector>

namespace tonarika {

// Which notes are asked: the mode's, a set that grows as the player learns them, or the
// notes the player chose.
enum class NoteChoice { All, Growing, Chosen };

// The pitch standard's range: A4 in whole hertz.
inline constexpr int kLowestA4 = 415;
inline constexpr int kDefaultA4 = 440;
inline constexpr int kHighestA4 = 466;

// What the player chose to be asked, beside the mode. The defaults ask the mode's notes,
// the twelve piano notes of the middle octave at A4 = 440 Hz, with nothing before them.
struct QuestionSettings {
    std::vector<Timbre> timbres{Timbre::Piano};  // never empty, no timbre twice
    bool threeOctaves = false;                   // octaves 3 to 5 rather than 4 alone
    bool guard = false;                          // tones before each question, and no near leap
    bool weakNotes = false;                      // the notes the player misses asked more often
    NoteChoice notes = NoteChoice::All;
    NoteSet chosen{};                            // for NoteChoice::Chosen, whatever the mode
    int a4 = kDefaultA4;
    AnswerWindow answerWindow{};                 // how late a right answer still counts
    bool showAnswer = false;                     // a first miss names and plays the right note
    friend bool operator==(const QuestionSettings&, const QuestionSettings&) = default;

    // Anything but the piano's middle octave, drawn evenly, with nothing before it: the
    // answer window and the answer shown change nothing of what is asked.
    bool beyondDefaults() const
    {
        QuestionSettings asked = *this;
        asked.answerWindow = {};
        asked.showAnswer = false;
        return asked != QuestionSettings{};
    }
};

// Where the game finds the settings, asked again at each new question.
class QuestionSettingsSource {
public:
    virtual ~QuestionSettingsSource() = default;
    virtual QuestionSettings questionSettings() const = 0;
};

}  // namespace tonarika
