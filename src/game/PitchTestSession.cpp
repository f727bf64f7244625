#include "PitchTestSession.h"

// own
#include "Captions.h"
#include "SoundRules.h"

// std
#include <exception>

namespace tonarika {

namespace {

std::string progressText(std::size_t done, std::size_t items)
{
    return std::string(captions::kPitchTestProgress) + std::to_string(done) + " / " + std::to_string(items);
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
    display.setCaption(Caption::CapMode, captions::kPitchTestLabel);
    m_items = pitchTestItems(m_context.random);
    m_answers.clear();
    m_a4 = m_context.settings().a4;
    display.setPitchTestProgress(progressText(0, m_items.size()));
    display.showPitchTestResult({});
    // Any of the twelve keys answers, and nothing is scored before the end.
    m_context.view.showAsked(NoteSet::all());
    m_context.view.notCounting();
    display.setListenEnabled(true);
    display.focusListen();
    // What the test is, until Listen starts it.
    display.showPitchTestIntro(pitchTestIntroText());
}

void PitchTestSession::end()
{
    m_pending.drop();
    m_context.view.display().setPitchTestProgress({});
    m_context.view.display().showPitchTestResult({});
    m_context.view.display().showPitchTestIntro({});
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
            m_context.view.display().showPitchTestIntro({});
        m_pending.ask(item, firstPlay);
        m_context.view.display().setPitchTestProgress(progressText(index + 1, m_items.size()));
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
        display.showPitchTestResult(pitchTestResultText(*result, m_a4, m_context.view.decimalSeparator(), m_context.view.naming()));
    }
}

void PitchTestSession::fill(GameState& state) const
{
    state.curNote = m_pending.note();
}

}  // namespace tonarika
