#pragma once

namespace tonarika {

// What is known of a key pressed while a question of a run is pending.
struct PressFacts {
    bool sameNote = false;    // the key is the note asked
    bool notAnswer = false;   // a key no question asks now: Easy's black keys, or one outside the notes asked
    bool dimmed = false;      // of those, one drawn dimmed
    bool settled = false;     // the question was answered right, or its miss counted
    bool late = false;        // the right note, after the answer window
    bool showAnswer = false;  // the player asked to be shown the right note after a miss
};

// What the press does: what the result label says, whether it is the question's first
// answer (the journal's row, and for a wrong one the run's miss), and whether the
// question is over, so that the next Listen asks a new one.
struct AnswerStep {
    enum class Verdict {
        Nothing,    // a press that is no answer, on a key drawn as ever
        NotAsked,   // a press that is no answer, on a dimmed key: said why
        Right,
        Late,       // the right note too late: a miss
        Miss,       // wrong: the player tries again
        MissShown,  // wrong, and the right note shown and played: the question is over
    };
    Verdict verdict = Verdict::Nothing;
    bool firstAnswer = false;
    bool countsMiss = false;
    bool done = false;
    friend bool operator==(const AnswerStep&, const AnswerStep&) = default;
};

AnswerStep answerStep(const PressFacts& press);

}  // namespace tonarika
