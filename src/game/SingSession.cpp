#include "SingSession.h"

// own
#include "Captions.h"
#include "Rules.h"

// std
#include <cmath>
#include <exception>
#include <utility>

namespace tonarika {

SingSession::SingSession(GameContext& context, QuestionDrawer& drawer)
    : m_context(context)
    , m_drawer(drawer)
{
}

void SingSession::begin()
{
    Display& display = m_context.view.display();
    m_context.view.idle();
    display.setClearEnabled(true);
    display.setListenEnabled(true);
    display.setTitleWord(m_context.view.say(captions::kSingLabel));
    m_context.view.tell(ResultView::Place::Mode, ResultView::phrase(captions::kSingLabel));
    m_context.view.showAsked(m_drawer.askedNotes(Mode::Hard, m_context.settings()));
    m_context.view.counting();
    display.focusListen();
}

void SingSession::end()
{
    if (m_input)
        m_input->stop();
    m_listening = false;
    m_asked.reset();
    m_context.view.display().setTitleWord({});
}

void SingSession::clear()
{
    if (m_input)
        m_input->stop();
    m_listening = false;
    m_asked.reset();
    m_questions = 0;
    m_misses = 0;
    ++m_context.run;
    m_context.view.idle();
    m_context.view.counting();
}

void SingSession::listen()
{
    if (m_listening)
        return;
    // A note asked and not yet sung is named again; otherwise a new one, never the last.
    if (!m_asked) {
        m_asked = NoteIndex(drawNoteIn(m_context.random, m_drawer.askedNotes(Mode::Hard, m_context.settings()), m_previous));
        m_previous = *m_asked;
    }
    if (!m_input) {
        inputFailed();
        return;
    }
    m_context.view.singFor(*m_asked);
    m_namedAtMs = m_context.clock.utcMs();
    m_listening = true;
    m_input->listen(*this, kListenLimit);
}

void SingSession::voiceHeard(const SungPitch& pitch)
{
    if (!m_listening || !m_asked)
        return;
    m_listening = false;
    const QuestionSettings settings = m_context.settings();
    const NoteIndex asked = *std::exchange(m_asked, std::nullopt);
    const SungAnswer answer = judgeSung(pitch.hz, asked, settings.a4);
    ++m_questions;
    m_misses += answer.right ? 0 : 1;
    m_context.view.sung(answer, asked, m_questions, m_misses);
    Trial trial;
    trial.answeredAtMs = m_namedAtMs + std::int64_t(std::lround(pitch.judgedAtMs));
    trial.mode = Mode::Sing;
    trial.run = m_context.run;
    trial.asked = asked;
    trial.answered = answer.nearest;
    trial.reactionMs = std::uint32_t(std::lround(std::max(0.0, pitch.voiceStartMs)));
    trial.timbre = settings.timbres.front();
    trial.octave = kHomeOctave;
    trial.a4 = settings.a4;
    trial.input = AnswerInput::Voice;
    trial.centsOff = std::int32_t(std::lround(answer.cents));
    m_context.record(trial);
    // The named note, heard after the answer: what the player sang is set beside it.
    m_previous = asked;
    try {
        m_context.play(NoteSound{asked, settings.timbres.front(), kHomeOctave}, settings.a4, {});
    } catch (const SoundError& error) {
        m_context.view.soundFailed(error);
    } catch (const std::exception&) {
        m_context.view.warn();
    }
}

void SingSession::nothingHeard()
{
    m_listening = false;
    m_context.view.notice(captions::kNoVoice, captions::kNoVoice);
}

void SingSession::inputFailed()
{
    m_listening = false;
    m_context.view.notice(captions::kNoMicrophone, captions::kNoMicrophone);
}

void SingSession::fill(GameState& state) const
{
    state.curNote = m_asked;
    state.questionCount = m_questions;
    state.missCount = m_misses;
}

}  // namespace tonarika
