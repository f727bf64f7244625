#include "Game.h"

// own
#include "Captions.h"
#include "KeyTable.h"

// std
#include <exception>
#include <limits>

namespace tonarika {

Game::Game(Display& display, Player& player, RandomSource& random, ScoreLog& scoreLog, Journal& journal,
           const GameClock& clock, std::string decimalSeparator)
    : m_display(display)
    , m_player(player)
    , m_random(random)
    , m_scoreLog(scoreLog)
    , m_journal(journal)
    , m_clock(clock)
    , m_decimalSeparator(std::move(decimalSeparator))
{
}

Player::Ticket Game::Sound(int index)
{
    const NoteRow& row = kNoteTable.at(index);
    m_state.wavFile = row.wavFile;
    m_state.noteName = row.noteName;
    return m_player.play(row.wavFile);
}

void Game::Command1_Click()
{
    try {
        if (m_state.curNote) {
            ++m_plays;
            Sound(*m_state.curNote);
            return;
        }
        // 32 bits cannot be used up by hand; saturate rather than wrap all the same.
        if (m_state.questionCount < std::numeric_limits<std::uint32_t>::max())
            ++m_state.questionCount;
        m_state.settled = false;
        setIdleLook();

        m_random.reseedFromClock();
        const int range = m_state.mode == Mode::Easy ? kWhiteKeyCount : kNoteCount;
        const auto note = static_cast<NoteIndex>(drawNote(m_random, range, m_state.prevNote));
        m_state.curNote = note;
        m_state.prevNote = note;
        m_firstPlay.reset();
        m_plays = 1;
        m_firstPlay = Sound(note);
    } catch (const std::exception&) {
        warn();
    }
}

void Game::warn()
{
    m_display.showWarning(captions::kWarningText, captions::kWarningTitle);
}

void Game::cmdKey_Click(int index)
{
    m_state.keyNote = static_cast<std::uint8_t>(index);
    hantei();
}

void Game::Key(int keyCode)
{
    if (const auto note = keyToNote(keyCode))
        cmdKey_Click(*note);
}

void Game::hantei()
{
    const int key = m_state.keyNote;
    if (m_state.practiceMode) {
        try {
            Sound(key);
        } catch (const std::exception&) {
            warn();
            return;
        }
        m_display.focusKey(key);
        m_display.setLabel1ForeColor(kBlue);
        m_display.setCaption(Caption::Label1, m_state.noteName);
        return;
    }
    if (!m_state.curNote)
        return;
    // In Easy mode no black key is ever asked, so pressing one is not an answer.
    const bool ignored = m_state.mode == Mode::Easy && kNoteTable.at(key).black && *m_state.curNote != key;
    if (!m_state.settled && !ignored)
        journalFirstAnswer(key);

    if (*m_state.curNote == key) {
        m_display.setLabel1BackColor(kRed);
        m_display.setLabel1ForeColor(kWhite);
        m_display.setCaption(Caption::Label1, captions::kRight);
        m_state.curNote.reset();
        m_state.settled = true;
        update(captions::kRight);
        return;
    }
    if (ignored) {
        setIdleLook();
        return;
    }
    m_display.setLabel1BackColor(Colour::systemButtonText());
    m_display.setLabel1ForeColor(kWhite);
    m_display.setCaption(Caption::Label1, captions::kMiss);
    if (!m_state.settled) {
        ++m_state.missCount;
        m_state.settled = true;
    }
    update(captions::kMiss);
}

void Game::journalFirstAnswer(int key)
{
    Trial trial;
    trial.answeredAtMs = m_clock.utcMs();
    const auto answeredAt = m_clock.now();
    trial.mode = m_state.mode;
    trial.run = m_run;
    trial.asked = *m_state.curNote;
    trial.answered = static_cast<NoteIndex>(key);
    trial.plays = m_plays;
    // Timed from the question's first play only, and only where its note sounded.
    if (m_firstPlay) {
        const Playback first = m_player.playback(*m_firstPlay);
        if (first.state == Playback::State::Sounding && first.startedAt <= answeredAt)
            trial.reactionMs = static_cast<std::uint32_t>(
                std::chrono::duration_cast<std::chrono::milliseconds>(answeredAt - first.startedAt).count());
    }
    try {
        m_journal.record(trial);
    } catch (...) {
        // The journal never stops the game.
    }
}

void Game::update(std::string_view result)
{
    m_display.focusListen();
    const std::string rate = rateText(m_state.questionCount, m_state.missCount, m_decimalSeparator);
    const std::string misses = missText(m_state.questionCount, m_state.missCount);
    m_display.setCaption(Caption::CapPar, rate);
    m_display.setCaption(Caption::CapMiss, misses);
    m_display.setListenDescription(answerSummary(result, misses, rate));
}

void Game::setIdleLook()
{
    m_display.setLabel1BackColor(kWhite);
    m_display.setCaption(Caption::Label1, captions::kIdle);
    // What a screen reader hears follows what the eye sees: no result, only Listen's use.
    m_display.setListenDescription(captions::kListenDescription);
}

void Game::clear_Click()
{
    ++m_run;
    m_state.questionCount = 0;
    m_state.missCount = 0;
    m_state.curNote.reset();
    m_state.prevNote = kNoPrevNote;
    m_display.setCaption(Caption::CapPar, captions::kStartRate);
    m_display.setCaption(Caption::CapMiss, captions::kStartMiss);
    m_state.settled = false;
    setIdleLook();
}

void Game::easy_Click() { switchMode(Mode::Easy); }
void Game::hard_Click() { switchMode(Mode::Hard); }
void Game::prac_Click() { switchMode(Mode::Prac); }

void Game::switchMode(Mode mode)
{
    if (m_state.mode == mode)
        return;
    const bool practice = mode == Mode::Prac;
    m_state.practiceMode = practice;
    m_display.setClearEnabled(!practice);
    // The record is written before the mode and captions change, so it names the
    // mode being left and carries its rate.
    Form_Unload();
    clear_Click();
    m_state.mode = mode;
    if (practice)
        m_display.setListenEnabled(false);
    m_display.setChecked(mode, true);
    for (const Mode other : {Mode::Easy, Mode::Hard, Mode::Prac}) {
        if (other != mode)
            m_display.setChecked(other, false);
    }
    m_display.setCaption(Caption::CapMode, modeName(mode));
    if (practice) {
        m_display.setCaption(Caption::CapPar, captions::kPracticeRate);
        m_display.setCaption(Caption::CapMiss, captions::kPracticeMiss);
        return;
    }
    m_display.setListenEnabled(true);
    m_display.focusListen();
}

void Game::en_Click()
{
    m_display.unloadWindow();
}

std::optional<ScoreRun> Game::runRecord() const
{
    // A question drawn but neither answered right nor missed does not count.
    std::uint32_t questions = m_state.questionCount;
    if (!m_state.settled && questions > 0)
        --questions;
    if (questions == 0)
        return std::nullopt;
    return ScoreRun{std::string(modeName(m_state.mode)), m_state.missCount, questions,
                    rateText(questions, m_state.missCount, m_decimalSeparator)};
}

void Game::Form_Unload()
{
    const auto run = runRecord();
    if (!run)
        return;
    RecordOutcome outcome;
    try {
        outcome = m_scoreLog.append(*run);
    } catch (...) {
        // Losing one record must never stop a mode change or the window's closing.
        outcome.saved = false;
    }
    if (!outcome.saved)
        m_display.reportUnsavedRecord(outcome.line);
    ++m_run;
}

}  // namespace tonarika
