#pragma once

// own
#include "AbsolutePitchTest.h"
#include "Alarm.h"
#include "Display.h"
#include "GameClock.h"
#include "GameState.h"
#include "Journal.h"
#include "LearnedRule.h"
#include "Player.h"
#include "QuestionSettings.h"
#include "RandomSource.h"
#include "ScoreLog.h"
#include "WeakNoteRules.h"

// std
#include <array>
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
    // Where the growing set learns which notes are learned; none: it holds its first three.
    void setLearnedNotes(const LearnedNotesSource* learned) { m_learned = learned; }

    // Starts the test of absolute pitch: 72 items, each heard once, answered with any of
    // the twelve keys, nothing shown until the result.
    void startTest();

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
    // Hands the first answer to the journal; what it handed.
    Trial journalFirstAnswer(int key);
    // The test's Listen and answer.
    void askTestItem();
    void takeTestAnswer(int key);
    // Counts from nothing again, as a new run: what Clear does, and a change of mode.
    void startNewRun();

    // A question as drawn: its sound, at which A4, and whether the guard's tones come
    // before it.
    struct Question {
        NoteSound sound;
        int a4 = kDefaultA4;
        bool guard = false;
    };
    // Draws question number `question` of the run.
    Question drawQuestion(const QuestionSettings& settings, std::uint32_t question);
    QuestionSettings currentSettings() const;
    // The notes the questions ask now, by the settings and the mode: the mode's, those
    // chosen within it (the mode's where fewer than two are left), or the growing set.
    NoteSet askedNotes(const QuestionSettings& settings) const;
    // The growing set as the learned notes make it now, and whether a note joined it since
    // the last question in this mode: that note is asked next, and said so.
    void followGrowingSet(const QuestionSettings& settings);
    // Draws the keys outside the notes asked dimmed, and the rest as ever.
    void showAskedKeys(const QuestionSettings& settings);
    // Beyond the defaults, draws the next question now and has the player load its sound.
    void drawAhead(const QuestionSettings& settings);
    // Makes `question` the pending one, its first play `firstPlay` (none where the output
    // refused it).
    void askQuestion(const Question& question, std::optional<Player::Ticket> firstPlay);
    Player::Ticket playSound(const NoteSound& sound, int a4, std::vector<double> guardTones);

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
    const LearnedNotesSource* m_learned = nullptr;
    // Each mode's growing set as the last question found it, once the learned notes were known.
    std::array<std::optional<NoteSet>, 2> m_growing;
    std::optional<NoteIndex> m_joined;  // a note that joined the growing set, asked next
    NoteSet m_dimmed;                   // the keys drawn dimmed
    AnswerInput m_input = AnswerInput::Mouse;  // how the answer being judged was given
    std::optional<std::chrono::steady_clock::time_point> m_answeredAt;  // a MIDI answer's arrival
    // The test: its items in order, and the answers taken so far.
    std::vector<NoteSound> m_testItems;
    std::vector<TestAnswer> m_testAnswers;
    int m_testA4 = kDefaultA4;  // as the settings had it when the test began
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
    NoteSet m_nextNotes;
};

}  // namespace tonarika
