#pragma once

// own
#include "LearnedRule.h"
#include "Mode.h"
#include "NoteSet.h"
#include "Player.h"
#include "Question.h"
#include "QuestionSettings.h"
#include "RandomSource.h"
#include "WeakNoteRules.h"

// std
#include <array>
#include <cstdint>
#include <optional>

namespace tonarika {

// The choice of a run's next question: the notes asked (the mode's, those chosen, or the
// growing set), the weak notes and the notes missed that are due again, the timbre, the
// octave and the guard's leap from the question before. Beyond the defaults the next
// question is drawn as soon as one is asked, so that the player can load its sound
// meanwhile; it stands only if the settings, the mode and the notes asked are still the same.
class QuestionDrawer {
public:
    QuestionDrawer(RandomSource& random, Player& player);

    // Where the weak notes' weights come from when the settings ask for them; none: even.
    void setNoteWeights(const NoteWeightsSource* weights) { m_weights = weights; }
    // Where the growing set learns which notes are learned; none: it holds its first three.
    void setLearnedNotes(const LearnedNotesSource* learned) { m_learned = learned; }

    // The notes the questions of `mode` ask now: the mode's, those chosen within it (the
    // mode's where fewer than two are left), or the growing set.
    NoteSet askedNotes(Mode mode, const QuestionSettings& settings) const;
    // The growing set as the learned notes make it now: a note that joined it since the
    // last question in this mode is introduced, and then asked next.
    void followGrowingSet(Mode mode, const QuestionSettings& settings);
    // A note that joined and has yet to be played with its name before it is asked.
    std::optional<NoteIndex> toIntroduce() const { return m_introduced ? std::nullopt : m_joined; }
    void introduced() { m_introduced = true; }
    // The answer window for a question of `mode` now: the adaptive one tightens with the
    // notes learned in the mode.
    std::optional<std::uint32_t> windowFor(Mode mode, const QuestionSettings& settings) const;
    // Question number `number` of the run: the one drawn ahead where it stands.
    Question next(Mode mode, const QuestionSettings& settings, std::uint32_t number);
    // `question` is asked.
    void asked(const Question& question);
    // Draws question number `number` now, and has the player load its sound.
    void drawAhead(Mode mode, const QuestionSettings& settings, std::uint32_t number);
    // The settings changed: what was drawn ahead is drawn again.
    void forgetAhead() { m_next.reset(); }
    // The first answer to question `number`, which asked `note`.
    void answered(int note, bool right, std::uint32_t number) { m_reask.answered(note, right, number); }
    // A new run: any note may come first, and nothing missed is due.
    void newRun();
    // Another mode: no note has just joined.
    void newMode()
    {
        m_joined.reset();
        m_introduced = false;
    }

    std::uint8_t prevNote() const { return m_prevNote; }

private:
    Question draw(Mode mode, const QuestionSettings& settings, std::uint32_t number);

    RandomSource& m_random;
    Player& m_player;
    const NoteWeightsSource* m_weights = nullptr;
    const LearnedNotesSource* m_learned = nullptr;
    ReaskSchedule m_reask;
    std::uint8_t m_prevNote = 0;
    std::optional<Timbre> m_prevTimbre;
    std::optional<int> m_prevKey;
    // Each mode's growing set as the last question found it, once the learned notes were known.
    std::array<std::optional<NoteSet>, 2> m_growing;
    std::optional<NoteIndex> m_joined;  // a note that joined the growing set, asked next
    bool m_introduced = false;          // and it was played with its name
    struct Ahead {
        Question question;
        QuestionSettings settings;
        Mode mode = Mode::Easy;
        NoteSet notes;
    };
    std::optional<Ahead> m_next;
};

}  // namespace tonarika
