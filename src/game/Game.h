#pragma once

// own
#include "Alarm.h"
#include "Display.h"
#include "GameClock.h"
#include "GameState.h"
#include "Journal.h"
#include "Player.h"
#include "QuestionSettings.h"
#include "RandomSource.h"
#include "ScoreLog.h"
#include "WeakNoteRules.h"

// std
#include <optional>
#include <string>
#include <string_view>

namespace tonarika {

// The game of the main window: the question cycle, the judge, the keyboard answers,
// the modes and the record of a finished run. It owns the state and talks to the
// window only through Display, to the speaker only through Player. Each counted
// question's first answer goes to the journal, with the time it took.
class Game {
public:
    Game(Display& display, Player& player, RandomSource& random, ScoreLog& scoreLog, Journal& journal,
         const GameClock& clock, std::string decimalSeparator);

    // Plays a note and remembers its file and name; the ticket tells how its play went.
    // Throws SoundError.
    Player::Ticket Sound(int index);

    // Where each new question's timbres, octaves and guard come from; none: the defaults.
    void setQuestionSettings(const QuestionSettingsSource* settings);
    // Where the weak notes' weights come from when the settings ask for them; none: even.
    void setNoteWeights(const NoteWeightsSource* weights) { m_weights = weights; }
    // What tells the game when the note after the guard's tones begins; none: the result
    // label says the note is coming until the question is answered.
    void setAlarm(Alarm* alarm) { m_alarm = alarm; }

    void Command1_Click();  // Listen: ask a new question or replay the pending one
    void cmdKey_Click(int index);
    void Key(int keyCode);
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

    const GameState& state() const { return m_state; }

private:
    void hantei();
    void update(std::string_view result);
    void setIdleLook();
    void switchMode(Mode mode);
    void warn();
    // A sound that could not be played: the warning box where the output refused it, and
    // where nothing can sound now, a word in the result label, with nothing counted.
    void soundFailed(const SoundError& error);
    // The result label's short note, with the whole of it for a tool tip and a screen reader.
    void notice(std::string_view caption, std::string_view detail);
    // The pending question's note has not begun: its guard's tones still play, or it loads.
    bool noteYetToSound() const;
    // While the guard's tones play, the result label says the note is coming; this looks
    // again when the alarm rings, until the note has begun.
    void watchNoteStart();
    void journalFirstAnswer(int key);
    // Counts from nothing again, as a new run: what Clear does, and a change of mode.
    void startNewRun();

    // A question as drawn: its sound, and whether the guard's tones come before it.
    struct Question {
        NoteSound sound;
        bool guard = false;
    };
    // Draws question number `question` of the run.
    Question drawQuestion(const QuestionSettings& settings, std::uint32_t question);
    QuestionSettings currentSettings() const;
    // Beyond the defaults, draws the next question now and has the player load its sound.
    void drawAhead(const QuestionSettings& settings);
    // Makes `question` the pending one, its first play `firstPlay` (none where the output
    // refused it).
    void askQuestion(const Question& question, std::optional<Player::Ticket> firstPlay);
    Player::Ticket playSound(const NoteSound& sound, std::vector<double> guardTones);

    Display& m_display;
    Player& m_player;
    RandomSource& m_random;
    ScoreLog& m_scoreLog;
    Journal& m_journal;
    const GameClock& m_clock;
    std::string m_decimalSeparator;
    GameState m_state;
    // What the journal needs beyond the game's state: the run, and the pending
    // question's first play and how often it has been played.
    std::uint32_t m_run = 1;
    std::optional<Player::Ticket> m_firstPlay;
    std::uint32_t m_plays = 0;
    // The pending question's sound and what came before it.
    const QuestionSettingsSource* m_settings = nullptr;
    const NoteWeightsSource* m_weights = nullptr;
    Alarm* m_alarm = nullptr;
    bool m_noteComing = false;  // the result label says the note is coming
    ReaskSchedule m_reask;
    Question m_question;
    std::optional<Timbre> m_prevTimbre;
    std::optional<int> m_prevKey;
    // Beyond the defaults, the next question is drawn as soon as this one is asked, so
    // that the player can load its sound meanwhile; it is drawn again should the
    // settings change before it is asked.
    std::optional<Question> m_next;
    QuestionSettings m_nextSettings;
    Mode m_nextMode = Mode::Easy;
};

}  // namespace tonarika
