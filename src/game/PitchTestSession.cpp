#include "PitchTestSession.h"

// own
#include "Captions.h"
#include "SoundRules.h"

// std
#include <exception>

namespace tonarika {

namespace {

ResultView::Telling progressText(std::size_t done, std::size_t items)
{
    return ResultView::phrase(captions::kPitchTestProgress, {std::to_string(done), std::to_string(items)});
}

}  // namespace

PitchTestSession::PitchTestSession(GameContext& context)
    : m_context(context)
    , m_pending(context)
{
}

void PitchTestSession::begin()
{
    Display& display = m_context.view.display();
    m_pending.drop();
    m_context.view.idle();
    // The test is no run: nothing to clear, and no menu item of its own is checked.
    display.setClearEnabled(false);
    m_context.view.tell(ResultView::Place::Mode, ResultView::phrase(captions::kPitchTestLabel));
    m_items = pitchTestItems(m_context.random);
    m_answers.clear();
    m_a4 = m_context.settings().a4;
    m_context.view.tell(ResultView::Place::TestProgress, progressText(0, m_items.size()));
    m_context.view.tell(ResultView::Place::TestResult, ResultView::phrase({}));
    // Any of the twelve keys answers, and nothing is scored before the end.
    m_context.view.showAsked(NoteSet::all());
    m_context.view.notCounting();
    display.setListenEnabled(true);
    display.focusListen();
    // What the test is, until Listen starts it.
    m_context.view.tell(ResultView::Place::TestIntro, [](const ResultView& view) { return pitchTestIntroText(view.wording()); });
}

void PitchTestSession::end()
{
    m_pending.drop();
    m_context.view.tell(ResultView::Place::TestProgress, ResultView::phrase({}));
    m_context.view.tell(ResultView::Place::TestResult, ResultView::phrase({}));
    m_context.view.tell(ResultView::Place::TestIntro, ResultView::phrase({}));
}

void PitchTestSession::listen()
{
    // Each item is heard once, and after the last nothing more is asked.
    if (m_pending.note() || m_answers.size() >= m_items.size())
        return;
    const std::size_t index = m_answers.size();
    const Question item{m_items[index], m_a4, true};
    try {
        const auto firstPlay = m_context.play(item.sound, item.a4, drawGuardTones(m_context.random, item.a4));
        m_context.view.idle();
        if (index == 0)
            m_context.view.tell(ResultView::Place::TestIntro, ResultView::phrase({}));
        m_pending.ask(item, firstPlay);
        m_context.view.tell(ResultView::Place::TestProgress, progressText(index + 1, m_items.size()));
    } catch (const SoundError& error) {
        m_context.view.soundFailed(error);
    } catch (const std::exception&) {
        m_context.view.warn();
    }
}

void PitchTestSession::answer(const Answer& answer)
{
    if (!m_pending.note() || m_pending.yetToSound())
        return;
    m_pending.quiet();
    const Trial trial = m_pending.recordFirstAnswer(answer, Mode::PitchTest);
    m_answers.push_back({m_pending.question().sound, answer.note, trial.reactionMs});
    m_pending.done();
    // Taken, and nothing said of whether it was right.
    m_context.view.notice(captions::kAnswerTaken, captions::kAnswerTaken);
    Display& display = m_context.view.display();
    display.focusListen();
    if (const auto result = pitchTestResult(m_answers)) {
        display.setListenEnabled(false);
        m_context.view.tell(ResultView::Place::TestResult, [result = *result, a4 = m_a4](const ResultView& view) {
            return pitchTestResultText(result, a4, view.decimalSeparator(), view.naming(), view.wording());
        });
    }
}

void PitchTestSession::fill(GameState& state) const
{
    state.curNote = m_pending.note();
}

}  // namespace tonarika
