#pragma once

// own
#include "Alarm.h"
#include "Display.h"
#include "GameClock.h"
#include "GameContext.h"
#include "GameState.h"
#include "Journal.h"
#include "LearnedRule.h"
#include "PitchTestSession.h"
#include "Player.h"
#include "PracticeSession.h"
#include "QuestionDrawer.h"
#include "QuestionSettings.h"
#include "RandomSource.h"
#include "RunSession.h"
#include "ScoreLog.h"
#include "SingSession.h"
#include "WeakNoteRules.h"

// std
#include <optional>
#include <string>

namespace tonarika {

// The game of the main window: its operations, each handed to the session of the mode
// (a run of Easy or Hard, Practice, the test of absolute pitch), and the record of a
// finished run. It talks to the window only through Display, to the speaker only through
// Player; each counted question's first answer goes to the journal, with the time it took.
class Game {
public:
    Game(Display& display, Player& player, RandomSource& random, ScoreLog& scoreLog, Journal& journal,
         const GameClock& clock, std::string decimalSeparator);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Plays the middle piano note of `index` and remembers its file and name; the ticket
    // tells how its play went. Throws SoundError.
    Player::Ticket Sound(int index);

    // Where each new question's timbres, octaves and guard come from; none: the defaults.
    void setQuestionSettings(const QuestionSettingsSource* settings);
    // Where the weak notes' weights come from when the settings ask for them; none: even.
    void setNoteWeights(const NoteWeightsSource* weights) { m_drawer.setNoteWeights(weights); }
    // What tells the game when the note after the guard's tones begins; none: the result
    // label says the note is coming until the question is answered.
    void setAlarm(Alarm* alarm) { m_context.alarm = alarm; }
    // Where the growing set learns which notes are learned; none: it holds its first three.
    void setLearnedNotes(const LearnedNotesSource* learned) { m_drawer.setLearnedNotes(learned); }
    // How the results name the notes; the default, fixed-do katakana as designed.
    void setNoteNaming(NoteNaming naming) { m_context.view.setNaming(naming); }
    // The language of the game's texts; it must outlive the game.
    void setWording(const Wording& wording) { m_context.view.setWording(wording); }
    // Every text the game shows, shown again in the language and the names set now.
    void retell() { m_context.view.retell(); }
    // Whether a key is drawn dimmed: no question asks its note now.
    bool dimmed(int key) const { return m_context.view.dimmed(key); }
    // What is told of each first answer besides the journal; none: nothing.
    void setAnswerListener(AnswerListener* listener) { m_context.listener = listener; }

    // Starts the test of absolute pitch: 72 items, each heard once, answered with any of
    // the twelve keys, nothing shown until the result.
    void startPitchTest();
    // Back from the test to the mode it was started from.
    void leavePitchTest();
    // Starts singing a named note: each answer sung into the desktop's input.
    void startSinging() { switchMode(Mode::Sing); }
    // Where sung answers are heard; none: the microphone cannot be used.
    void setVoiceInput(VoiceInput* input) { m_sing.setVoiceInput(input); }

    void Command1_Click();  // Listen: ask a new question or replay the pending one
    void cmdKey_Click(int index);
    void Key(int keyCode);
    // A key of a MIDI keyboard, any octave's, as the on-screen key; `arrived` is when its
    // message came, which the reaction time runs to.
    void midiNoteOn(int index, std::chrono::steady_clock::time_point arrived);
    void clear_Click();

    void easy_Click();
    void hard_Click();
    void prac_Click();
    void en_Click();

    // Records the run that ends; the window's unload runs it, and so do mode changes.
    void Form_Unload();

    // The record Form_Unload would write now, or nothing for a run without a counted
    // question. Its mode and rate are what the mode and rate labels show.
    std::optional<ScoreRun> runRecord() const;

    GameState state() const;

private:
    void hantei(const Answer& answer);
    void switchMode(Mode mode);
    Session& sessionOf(Mode mode);

    ScoreLog& m_scoreLog;
    GameContext m_context;
    QuestionDrawer m_drawer;
    RunSession m_easy;
    RunSession m_hard;
    PracticeSession m_practice;
    PitchTestSession m_pitchTest;
    SingSession m_sing;
    Mode m_mode = Mode::Easy;
    Mode m_beforeTest = Mode::Easy;
    Session* m_session = &m_easy;
};

}  // namespace tonarika
