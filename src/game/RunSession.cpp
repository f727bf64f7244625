#include "RunSession.h"

// own
#include "AnswerStep.h"
#include "Captions.h"
#include "SoundRules.h"

// std
#include <exception>
#include <limits>

namespace tonarika {

RunSession::RunSession(Mode mode, GameContext& context, QuestionDrawer& drawer)
    : m_mode(mode)
    , m_context(context)
    , m_drawer(drawer)
    , m_pending(context)
{
}

void RunSession::begin()
{
    Display& display = m_context.view.display();
    startOver();
    display.setClearEnabled(true);
    display.setListenEnabled(true);
    m_context.view.tell(ResultView::Place::Mode, ResultView::phrase(modeName(m_mode)));
    const QuestionSettings settings = m_context.settings();
    showAskedKeys(settings);
    display.focusListen();
    drawAhead(settings);
}

void RunSession::clear()
{
    ++m_context.run;
    m_drawer.newRun();
    startOver();
    drawAhead(m_context.settings());
}

void RunSession::startOver()
{
    m_questions = 0;
    m_misses = 0;
    m_settled = false;
    m_pending.drop();
    m_context.view.counting();
    m_context.view.idle();
}

void RunSession::settingsChanged()
{
    m_drawer.forgetAhead();
    const QuestionSettings settings = m_context.settings();
    showAskedKeys(settings);
    if (!m_pending.note())
        drawAhead(settings);
}

void RunSession::showAskedKeys(const QuestionSettings& settings)
{
    // With the mode's notes, every key as designed: Easy's black keys too.
    m_context.view.showAsked(settings.notes == NoteChoice::All ? NoteSet::all() : m_drawer.askedNotes(m_mode, settings));
}

void RunSession::drawAhead(const QuestionSettings& settings)
{
    m_drawer.drawAhead(m_mode, settings, m_questions + 1);
}

void RunSession::listen()
{
    ResultView& view = m_context.view;
    try {
        if (m_pending.note()) {
            // The guard's tones and their note are heard whole: Listen waits for the note.
            if (m_pending.yetToSound())
                return;
            // A replay is the same sound, never with the guard's tones again.
            m_pending.replay();
            return;
        }
        // The settings as they are now, so that a change never alters a question already
        // asked.
        const QuestionSettings settings = m_context.settings();
        m_drawer.followGrowingSet(m_mode, settings);
        showAskedKeys(settings);
        // A note that joins is first heard with its name, and asked at the next Listen.
        // That is no question: nothing is counted or kept.
        if (const auto note = m_drawer.toIntroduce()) {
            m_context.play(NoteSound{*note, settings.timbres.front(), kHomeOctave}, settings.a4, {});
            m_drawer.introduced();
            view.newNote(*note);
            return;
        }
        // 32 bits cannot be used up by hand; saturate rather than wrap all the same.
        const std::uint32_t number = m_questions < std::numeric_limits<std::uint32_t>::max() ? m_questions + 1 : m_questions;
        Question question = m_drawer.next(m_mode, settings, number);
        question.windowMs = m_drawer.windowFor(m_mode, settings);
        // A question nobody could hear is no question: where nothing can sound, the
        // error goes on below and nothing is counted. One the output refused counts, and
        // the warning box says so.
        std::optional<Player::Ticket> firstPlay;
        try {
            firstPlay = m_context.play(question.sound, question.a4,
                                       question.guard ? drawGuardTones(m_context.random, question.a4) : std::vector<double>{});
        } catch (const SoundError& error) {
            if (error.unavailable())
                throw;
        } catch (const std::exception&) {
        }
        m_questions = number;
        m_settled = false;
        view.idle();
        m_drawer.asked(question);
        m_pending.ask(question, firstPlay);
        if (!firstPlay) {
            view.warn();
            return;
        }
        // The weak notes' draw waits for this question's answer.
        if (!settings.weakNotes)
            drawAhead(settings);
    } catch (const SoundError& error) {
        view.soundFailed(error);
    } catch (const std::exception&) {
        view.warn();
    }
}

void RunSession::answer(const Answer& answer)
{
    const int key = answer.note;
    // In Easy no black key is ever asked, nor a key outside the notes asked now, so
    // pressing one is no answer; a dimmed one says why, question or none.
    const bool dimmed = m_context.view.dimmed(key);
    const bool notAnswer = dimmed || (m_mode == Mode::Easy && kNoteTable.at(std::size_t(key)).black);
    if (!m_pending.note()) {
        if (dimmed)
            m_context.view.notAsked();
        return;
    }
    // Before its note has begun, a question has nothing to answer: no miss, no journal.
    if (m_pending.yetToSound())
        return;
    m_pending.quiet();
    const int asked = *m_pending.note();
    const QuestionSettings settings = m_context.settings();
    PressFacts press{asked == key, notAnswer, dimmed, m_settled, false, settings.showAnswer};
    if (!m_settled && (press.sameNote || !notAnswer)) {
        const Trial first = m_pending.recordFirstAnswer(answer, m_mode);
        // The right note later than the answer window counts as a miss, and ends the question.
        press.late = first.sameNote() && !first.right();
        m_drawer.answered(asked, first.right(), m_questions);
    }
    const AnswerStep step = answerStep(press);
    if (step.countsMiss)
        ++m_misses;
    if (step.firstAnswer)
        m_settled = true;
    using Verdict = AnswerStep::Verdict;
    switch (step.verdict) {
    case Verdict::Nothing: m_context.view.idle(); break;
    case Verdict::NotAsked: m_context.view.notAsked(); break;
    case Verdict::Right: m_context.view.right(m_questions, m_misses); break;
    case Verdict::Late: m_context.view.late(m_questions, m_misses); break;
    case Verdict::Miss: m_context.view.miss(m_questions, m_misses); break;
    case Verdict::MissShown:
        m_context.view.missShowing(m_questions, m_misses, asked);
        // The right note once more, as it was asked; a sound that fails now loses nothing.
        try {
            m_pending.replay();
        } catch (const std::exception&) {
        }
        break;
    }
    if (!step.done)
        return;
    m_pending.done();
    m_settled = true;
    // Now that its answer is known, the weak notes' draw can look ahead.
    if (settings.weakNotes)
        drawAhead(settings);
}

std::optional<ScoreRun> RunSession::record() const
{
    // A question drawn but neither answered right nor missed does not count.
    std::uint32_t questions = m_questions;
    if (!m_settled && questions > 0)
        --questions;
    if (questions == 0)
        return std::nullopt;
    return ScoreRun{std::string(modeName(m_mode)), m_misses, questions,
                    rateText(questions, m_misses, m_context.view.decimalSeparator())};
}

void RunSession::fill(GameState& state) const
{
    state.curNote = m_pending.note();
    state.questionCount = m_questions;
    state.missCount = m_misses;
    state.settled = m_settled;
}

}  // namespace tonarika
