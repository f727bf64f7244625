#include "PracticeSession.h"

// std
#include <exception>

namespace tonarika {

PracticeSession::PracticeSession(GameContext& context)
    : m_context(context)
{
}

void PracticeSession::begin()
{
    Display& display = m_context.view.display();
    m_context.view.idle();
    // Listen has nothing to ask, and there is no run to clear.
    display.setClearEnabled(false);
    display.setListenEnabled(false);
    m_context.view.tell(ResultView::Place::Mode, ResultView::phrase(modeName(Mode::Prac)));
    m_context.view.showAsked(NoteSet::all());
    m_context.view.notCounting();
}

void PracticeSession::answer(const Answer& answer)
{
    try {
        m_context.play(NoteSound{answer.note, Timbre::Piano, kHomeOctave}, m_context.settings().a4, {});
    } catch (const SoundError& error) {
        m_context.view.soundFailed(error);
        return;
    } catch (const std::exception&) {
        m_context.view.warn();
        return;
    }
    m_context.view.practiceNote(answer.note);
    // Each key played counts for the time practised, and for nothing else.
    Trial press;
    press.answeredAtMs = m_context.clock.utcMs();
    press.mode = Mode::Prac;
    press.asked = NoteIndex(answer.note);
    press.answered = NoteIndex(answer.note);
    press.input = answer.input;
    m_context.record(press);
}

}  // namespace tonarika
