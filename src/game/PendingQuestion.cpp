#include "PendingQuestion.h"

// own
#include "Captions.h"

namespace tonarika {

PendingQuestion::PendingQuestion(GameContext& context)
    : m_context(context)
{
}

void PendingQuestion::ask(const Question& question, std::optional<Player::Ticket> firstPlay)
{
    m_note = question.sound.note;
    m_question = question;
    m_firstPlay = firstPlay;
    m_plays = 1;
    if (question.guard && firstPlay) {
        m_context.view.notice(captions::kNoteComing, captions::kNoteComingDescription);
        m_noteComing = true;
        watchNoteStart();
    }
}

void PendingQuestion::replay()
{
    m_context.play(m_question.sound, m_question.a4, {});
    ++m_plays;
}

void PendingQuestion::drop()
{
    m_note.reset();
    m_noteComing = false;
}

bool PendingQuestion::yetToSound() const
{
    if (!m_note || !m_firstPlay)
        return false;
    const Playback first = m_context.player.playback(*m_firstPlay);
    return first.state == Playback::State::Waiting
           || (first.state == Playback::State::Sounding && m_context.clock.now() < first.startedAt);
}

void PendingQuestion::watchNoteStart()
{
    if (!m_noteComing || !m_context.alarm)
        return;
    if (yetToSound()) {
        // Still loading, it has no start yet: look again shortly.
        const Playback first = m_context.player.playback(*m_firstPlay);
        const auto when = first.state == Playback::State::Sounding ? first.startedAt
                                                                    : m_context.clock.now() + std::chrono::milliseconds(20);
        m_context.alarm->ringAt(when, [this] { watchNoteStart(); });
        return;
    }
    m_noteComing = false;
    m_context.view.idle();
}

Trial PendingQuestion::recordFirstAnswer(const Answer& answer, Mode mode)
{
    Trial trial;
    trial.answeredAtMs = m_context.clock.utcMs();
    // A MIDI answer is timed from its message's arrival, not from when it was judged.
    const auto answeredAt = answer.arrived.value_or(m_context.clock.now());
    trial.mode = mode;
    trial.run = m_context.run;
    trial.asked = m_note.value_or(0);
    trial.answered = answer.note;
    trial.plays = m_plays;
    trial.timbre = m_question.sound.timbre;
    trial.octave = m_question.sound.octave;
    trial.guard = m_question.guard;
    trial.a4 = m_question.a4;
    trial.input = answer.input;
    trial.windowMs = m_question.windowMs;
    // Timed from the question's first play only, and only where its note sounded.
    if (m_firstPlay) {
        const Playback first = m_context.player.playback(*m_firstPlay);
        if (first.state == Playback::State::Sounding && first.startedAt <= answeredAt)
            trial.reactionMs = static_cast<std::uint32_t>(
                std::chrono::duration_cast<std::chrono::milliseconds>(answeredAt - first.startedAt).count());
    }
    m_context.record(trial);
    return trial;
}

}  // namespace tonarika
