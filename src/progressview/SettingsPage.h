#pragma once

// own
#include "KeyboardLister.h"
#include "QuestionSettings.h"
#include "SettingsWatcher.h"

// Qt
#include <QString>
#include <QTimer>
#include <QWidget>

// std
#include <array>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace tonarika {

class DailySettingsBox;

// What the game asks, chosen here and written to the settings file the game reads: the
// timbres (at least one), one octave or three, whether the guard's tones and leaps keep
// the previous note from helping, whether the notes the player misses come more often,
// which notes are asked (the mode's, a set that grows, or at least two chosen), A4, the
// daily goal, the reminder and the answer window, and whether a MIDI keyboard answers,
// with the keyboards the desktop has now.
// Each change writes the keys the player changed and nothing else, every other line of
// the file as it stands; the page shows the file again whenever it changes, so that its
// next write never undoes an edit made by hand. It scrolls in a small window.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPage(QString file, QWidget* parent = nullptr);

    QuestionSettings chosen() const;
    // The notes' names the file holds.
    NoteNaming naming() const { return namingIn(m_shownDisplay.language, m_shownDisplay.naming); }
    Language language() const { return m_shownDisplay.language; }
    // The daily goal the file holds, in minutes (0: none).
    int goalMinutes() const { return m_watcher.reading().daily.goalMinutes; }

signals:
    // The file holds the page's choices, or could not be written (`error`, in Japanese).
    void written(const QString& error);
    // The settings the page shows are new: read from the file, or written to it.
    void settingsChanged(const QuestionSettings& settings);
    // The file was read again: its daily goal, perhaps new.
    void goalRead(int goalMinutes);
    // The notes' names the file holds, read or written.
    void namingRead(NoteNaming naming);
    // The language the file holds, read or written.
    void languageRead(Language language);

private:
    // Shows what the file holds now, and what could not be read of it.
    void showFile();
    void show(const QuestionSettings& settings);
    void write();
    void timbreToggled(QCheckBox* box);
    void noteToggled(QCheckBox* box);
    void writeMidi();
    void showKeyboards();
    // The group 表示: the notes' names, the accidentals and the main window's size, with a
    // row of sample names for the choice shown.
    QWidget* displayGroup();
    DisplaySettings shownDisplay() const;
    void showDisplay(const DisplaySettings& display);
    void showSample();
    void writeDisplay();
    using SettingsValues = std::vector<std::pair<QString, QString>>;
    // Writes what differs from `before`, only that; whether anything was written. A file
    // that refused is said on the page.
    bool writeChanged(const SettingsValues& now, const SettingsValues& before);
    // Says that a change was saved, and then, once the running game's receipt names what
    // the file holds now, that the game has taken it up.
    void confirmSaved(const QString& text);
    void lookForReceipt();

    QString m_file;
    SettingsWatcher m_watcher;
    QuestionSettings m_shown;  // what the file held when last shown or written
    std::array<QCheckBox*, kTimbreCount> m_timbres{};
    QRadioButton* m_oneOctave = nullptr;
    QRadioButton* m_threeOctaves = nullptr;
    QCheckBox* m_guard = nullptr;
    QCheckBox* m_weakNotes = nullptr;
    QCheckBox* m_showAnswer = nullptr;
    QRadioButton* m_allNotes = nullptr;
    QRadioButton* m_growingNotes = nullptr;
    QRadioButton* m_chosenNotes = nullptr;
    std::array<QCheckBox*, kNoteCount> m_notes{};
    QSpinBox* m_a4 = nullptr;
    DailySettingsBox* m_daily = nullptr;
    QComboBox* m_names = nullptr;
    QComboBox* m_accidentals = nullptr;
    QComboBox* m_size = nullptr;
    QComboBox* m_language = nullptr;
    QLabel* m_sample = nullptr;
    DisplaySettings m_shownDisplay;
    QCheckBox* m_midi = nullptr;
    QLabel* m_keyboards = nullptr;
    KeyboardLister m_lister{"tonarika-progress"};
    QLabel* m_status = nullptr;
    static constexpr int kReceiptLookMs = 250;
    static constexpr int kReceiptLooks = 40;  // ten seconds
    QTimer m_receiptTimer;
    QByteArray m_awaited;  // the digest the receipt should come to hold
    int m_receiptLooks = 0;
    QString m_saved;
};

}  // namespace tonarika
