#pragma once

// own
#include "Display.h"
#include "Game.h"
#include "TimerAlarm.h"
#include "TranslatedWording.h"

// Qt
#include <QMainWindow>

// std
#include <array>
#include <chrono>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;

namespace Ui {
class Form1;
}

namespace tonarika {

class PitchTestView;

// The main window: the twelve note buttons, Listen, the result label, the score panel
// and the menu. It shows what the game tells it and passes every click and key on;
// the rules all live in Game.
class Form1 : public QMainWindow, public Display {
    Q_OBJECT
public:
    Form1(Player& player, RandomSource& random, ScoreLog& scoreLog, Journal& journal, QWidget* parent = nullptr);
    ~Form1() override;

    // Display
    void setCaption(Caption label, std::string_view text) override;
    void setLabel1BackColor(Colour colour) override;
    void setLabel1ForeColor(Colour colour) override;
    void setLabel1ToolTip(std::string_view text) override;
    void focusListen() override;
    void focusKey(int index) override;
    void setListenEnabled(bool enabled) override;
    void setClearEnabled(bool enabled) override;
    void setListenDescription(std::string_view text) override;
    void setKeyAsked(int index, bool asked) override;
    void setPitchTestProgress(std::string_view text) override;
    void setTitleWord(std::string_view text) override;
    // What the title says of the day after the program's name ("今日 8 / 15 分"); empty: nothing.
    void setDayText(const QString& text);
    void showPitchTestResult(std::string_view text) override;
    void showPitchTestIntro(std::string_view text) override;
    void setKeyOutlined(int index, bool outlined) override;
    void setChecked(Mode item, bool checked) override;
    void showWarning(std::string_view text, std::string_view title) override;
    void reportUnsavedRecord(std::string_view line) override;
    void unloadWindow() override;

    // Writes the run's record unless the window already has: the close box, the quit
    // command, the end of the session and the end of the process all come here, and
    // between them the record is written exactly once.
    void recordRunOnce();
    // The program is ending without the player (a signal, the end of the session): from
    // now on nothing waits for the player, and a record that cannot be saved is only
    // told on stderr.
    void setEnding() { m_ending = true; }
    // Where the game's questions take their timbres and octaves from; none: the defaults.
    void setQuestionSettings(const QuestionSettingsSource* settings) { m_game.setQuestionSettings(settings); }
    // Where the weak notes' weights come from, when the settings ask for them.
    void setNoteWeights(const NoteWeightsSource* weights) { m_game.setNoteWeights(weights); }
    // Where the growing set learns which notes are learned.
    void setLearnedNotes(const LearnedNotesSource* learned) { m_game.setLearnedNotes(learned); }
    // What is told of each first answer besides the journal.
    void setAnswerListener(AnswerListener* listener) { m_game.setAnswerListener(listener); }
    // Takes the test of absolute pitch in place of a run of the modes.
    void startPitchTest() { m_game.startPitchTest(); }
    // How the keys' captions, their names for screen readers and the results name the notes.
    void setNoteNaming(NoteNaming naming);
    // Opens in Hard, as if it were chosen from the menu.
    void startHard() { m_game.hard_Click(); }
    // Opens singing a named note.
    void startSinging() { m_game.startSinging(); }
    // Where sung answers are heard.
    void setVoiceInput(VoiceInput* input) { m_game.setVoiceInput(input); }
    // A MIDI keyboard's key, as a click on its on-screen key, timed to its message's
    // arrival; its sustain pedal, as a click on Listen. Neither reaches past a modal box.
    void midiNotePressed(int index, std::chrono::steady_clock::time_point arrived);
    void midiListenPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A new language: the designed texts, the names and the game's texts again in it.
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ver_Click();
    QLabel* label(Caption which) const;
    QAction* modeAction(Mode item) const;
    void fitToFrame(QLabel* label);
    // A key's caption in the largest size up to the designed one that shows it whole.
    void fitCaption(QLabel* caption, const QString& text);
    // The program's name, the test's progress and the day's minutes.
    void updateTitle();

    std::unique_ptr<Ui::Form1> m_ui;
    // The test's view over the keys, before its first item and once it is done.
    PitchTestView* pitchTestView();
    PitchTestView* m_pitchTestView = nullptr;
    QFrame* m_outline = nullptr;           // around the right key after a miss
    QString m_pitchTestProgress;           // in the title, while a test is taken
    QString m_dayText;                     // in the title, where a daily goal is set
    QString m_titleWord;                   // in the title after the name ("声")
    std::array<QPushButton*, kNoteCount> cmdKey{};
    std::array<QLabel*, kNoteCount> m_captions{};  // beside each key, by note
    int m_captionPixels = 0;                        // their designed size
    QRect m_blackCaptionsDesigned;                  // where the black keys' captions stand
    SystemClock m_clock;
    TimerAlarm m_alarm;
    int m_scoreFontPixels = 0;  // the designed size of the value labels' font
    NoteNaming m_naming;
    TranslatedWording m_wording;
    Game m_game;
    bool m_unloaded = false;
    bool m_ending = false;
};

}  // namespace tonarika
