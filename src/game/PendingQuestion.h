#pragma once

// own
#include "Answer.h"
#include "GameContext.h"
#include "Mode.h"
#include "Question.h"

// std
#include <optional>

namespace tonarika {

// The question asked and not yet done with: its sound, its first play, how often it has
// been played, and what the journal keeps of its first answer. While the guard's tones
// play, the result label says that the note is coming, until the note begins.
class PendingQuestion {
public:
    explicit PendingQuestion(GameContext& context);

    void ask(const Question& question, std::optional<Player::Ticket> firstPlay);
    // The same sound again, never with the guard's tones. Throws SoundError.
    void replay();
    // Answered, or given up with its run.
    void done() { m_note.reset(); }
    void drop();

    std::optional<NoteIndex> note() const { return m_note; }
    const Question& question() const { return m_question; }
    // Its note has not begun: the guard's tones still play, or it loads.
    bool yetToSound() const;
    // The label says something else now than that the note is coming.
    void quiet() { m_noteComing = false; }
    // Hands the first answer to the journal, as a question of `mode`; what it handed.
    Trial recordFirstAnswer(const Answer& answer, Mode mode);

private:
    // Looks again whenever the alarm rings, until the note has begun.
    void watchNoteStart();

    GameContext& m_context;
    std::optional<NoteIndex> m_note;
    Question m_question;
    std::optional<Player::Ticket> m_firstPlay;
    std::uint32_t m_plays = 0;
    bool m_noteComing = false;
};

}  // namespace tonarika
