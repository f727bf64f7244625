#include "Game.h"

// own
#include "KeyTable.h"

namespace tonarika {

Game::Game(Display& display, Player& player, RandomSource& random, ScoreLog& scoreLog, Journal& journal,
           const GameClock& clock, std::string decimalSeparator)
    : m_scoreLog(scoreLog)
    , m_context(display, player, random, journal, clock, std::move(decimalSeparator))
    , m_drawer(random, player)
    , m_easy(Mode::Easy, m_context, m_drawer)
    , m_hard(Mode::Hard, m_context, m_drawer)
    , m_practice(m_context)
    , m_pitchTest(m_context)
    , m_sing(m_context, m_drawer)
{
}

Player::Ticket Game::Sound(int index)
{
    return m_context.play(NoteSound{static_cast<NoteIndex>(index), Timbre::Piano, kHomeOctave}, m_context.settings().a4, {});
}

void Game::setQuestionSettings(const QuestionSettingsSource* settings)
{
    m_context.settingsSource = settings;
    m_session->settingsChanged();
}

void Game::startPitchTest()
{
    if (m_mode != Mode::PitchTest)
        m_beforeTest = m_mode;
    switchMode(Mode::PitchTest);
}

void Game::leavePitchTest()
{
    if (m_mode == Mode::PitchTest)
        switchMode(m_beforeTest);
}

void Game::Command1_Click() { m_session->listen(); }

void Game::cmdKey_Click(int index) { hantei({static_cast<NoteIndex>(index), AnswerInput::Mouse, std::nullopt}); }

void Game::Key(int keyCode)
{
    if (const auto note = keyToNote(keyCode))
        hantei({static_cast<NoteIndex>(*note), AnswerInput::Keys, std::nullopt});
}

void Game::midiNoteOn(int index, std::chrono::steady_clock::time_point arrived)
{
    hantei({static_cast<NoteIndex>(index), AnswerInput::Midi, arrived});
}

void Game::hantei(const Answer& answer) { m_session->answer(answer); }

void Game::clear_Click() { m_session->clear(); }

void Game::easy_Click() { switchMode(Mode::Easy); }
void Game::hard_Click() { switchMode(Mode::Hard); }
void Game::prac_Click() { switchMode(Mode::Prac); }

Session& Game::sessionOf(Mode mode)
{
    switch (mode) {
    case Mode::Easy: return m_easy;
    case Mode::Hard: return m_hard;
    case Mode::Prac: return m_practice;
    case Mode::PitchTest: return m_pitchTest;
    case Mode::Sing: return m_sing;
    }
    return m_easy;
}

void Game::switchMode(Mode mode)
{
    if (m_mode == mode)
        return;
    m_session->end();
    // The record is written before the mode and captions change, so it names the mode
    // being left and carries its rate.
    Form_Unload();
    ++m_context.run;
    m_drawer.newRun();
    m_drawer.newMode();
    m_mode = mode;
    // The test has no menu item of its own: no mode is checked while it is taken.
    for (const Mode item : {Mode::Easy, Mode::Hard, Mode::Prac})
        m_context.view.display().setChecked(item, item == mode);
    m_session = &sessionOf(mode);
    m_session->begin();
}

void Game::en_Click()
{
    m_context.view.display().unloadWindow();
}

std::optional<ScoreRun> Game::runRecord() const
{
    return m_session->record();
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
        m_context.view.display().reportUnsavedRecord(outcome.line);
    ++m_context.run;
}

GameState Game::state() const
{
    GameState state;
    state.mode = m_mode;
    state.practiceMode = m_mode == Mode::Prac;
    state.prevNote = m_drawer.prevNote();
    state.wavFile = m_context.wavFile;
    state.noteName = m_context.noteName;
    m_session->fill(state);
    return state;
}

}  // namespace tonarika
