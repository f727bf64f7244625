#pragma once

// own
#include "Language.h"
#include "NoteNames.h"
#include "QuestionSettings.h"

// Qt
#include <QByteArray>
#include <QString>
#include <QStringList>

// std
#include <optional>
#include <utility>
#include <vector>

namespace tonarika {

// The settings file, tonarika.conf in the player's configuration folder
// ($XDG_CONFIG_HOME/tonarika/, ~/.config/tonarika/ by default): an INI file whose group
// [questions] holds
//   timbres = piano, marimba, guitar, clarinet, trumpet, sine   (any of them; default piano)
//   octaves = 4 | 3-5                                          (default 4)
//   guard   = false | true                                     (default false)
//   weak_notes = false | true                                  (default false)
//   notes   = all | growing | C, E, G, ... (C C# Db D D# Eb E F F# Gb G G# Ab A A# Bb B,
//             any case)                                        (default all)
//   a4      = 415 ... 466                                       (default 440)
//   answer_within = off | 1.0 ... 5.0 (seconds) | adaptive      (default off)
//   show_answer = false | true   a first miss names and plays the right note (default false)
// its group [input] holds
//   midi    = on | off      whether a MIDI keyboard answers     (default on)
// its group [practice] holds
//   daily_minutes = 0 (none) | 5 ... 120                        (default 0)
//   remind_at     = HH:MM, or nothing (no reminder)             (default nothing)
// and its group [display] holds
//   names       = doremi | letters | solfege | german | iroha   (default doremi)
//   accidentals = sharps | flats | both                          (default both)
//   size        = 1 | 1.5 | 2   the main window's scale, from its next start (default 1)
//   language    = ja | en   both programs' texts; the files they write stay as ever (default ja)
// The game only reads it; the companion writes the keys the player changes, and keeps
// every other line as it stands, comments too.
QString settingsFilePath();

// Something the file holds that could not be taken, or why it could not be written.
struct SettingsProblem {
    enum class Kind {
        CannotOpen,       // `detail`: what the system said
        NotARegularFile,  // a folder, a FIFO, a device
        TooLarge,         // over 64 KiB
        NotText,          // not UTF-8 text: binary garbage, NUL bytes
        NotUnderstood,    // `key`'s value `value`: its default stands (`detail`: a word that names no note)
        UnknownWord,      // `value`, one word of `key`'s list, is left out
        TooFewNotes,      // `value`, the notes chosen, leaves fewer than two in the modes `detail` names
        FolderNotMade,    // `detail`: the folder
        NotWritten,       // `detail`: what the system said
    };
    Kind kind = Kind::CannotOpen;
    QString key;
    QString value;
    QString detail;
    friend bool operator==(const SettingsProblem&, const SettingsProblem&) = default;
};

// What a problem is, for a line on stderr (English, with the file's name) and for the
// companion's page (Japanese).
QString problemText(const QString& path, const SettingsProblem& problem);
QString problemTextJapanese(const SettingsProblem& problem);

// A list of timbres as the file spells it: the ones it names, and the words that name none.
struct TimbreList {
    std::vector<Timbre> timbres;  // in the table's order, each once
    QStringList unknown;
};
TimbreList parseTimbres(const QString& text);
std::optional<bool> parseOctaves(const QString& text);  // true for three octaves
std::optional<bool> parseSwitch(const QString& text);
// "on" or "off"; "true" and "false" too.
std::optional<bool> parseOnOff(const QString& text);
// A note's name as the file spells it ("C#", "Db", "b"): its index.
std::optional<NoteIndex> parseNoteName(const QString& text);
// The notes' value: all, growing, or a list of names; nothing, and the word it does not
// know in `unknown`, where it is none of these.
struct NoteChoiceText {
    NoteChoice choice = NoteChoice::All;
    NoteSet chosen;
};
std::optional<NoteChoiceText> parseNotes(const QString& text, QString* unknown = nullptr);
std::optional<int> parseA4(const QString& text);
std::optional<AnswerWindow> parseAnswerWindow(const QString& text);
std::optional<int> parseDailyMinutes(const QString& text);
// A time of day, "19:30": minutes after midnight.
std::optional<int> parseTimeOfDay(const QString& text);

// Each key of the question settings, as the file spells it ("questions/timbres"), and its
// value for `settings`.
std::vector<std::pair<QString, QString>> settingsValues(const QuestionSettings& settings);
// The input's key ("input/midi") and its value.
std::pair<QString, QString> midiValue(bool midi);
// The daily goal's and the reminder's keys ("practice/daily_minutes") and their values.
std::vector<std::pair<QString, QString>> dailyValues(const DailySettings& daily);
std::pair<QString, QString> goalValue(int goalMinutes);
std::pair<QString, QString> remindValue(std::optional<int> remindAtMinutes);
// The answer window's key ("questions/answer_within") and its value.
std::pair<QString, QString> answerWindowValue(const AnswerWindow& window);

// How the windows name the notes and how large the main window is drawn.
struct DisplaySettings {
    NoteNaming naming;
    double size = 1.0;
    Language language = Language::Japanese;
    friend bool operator==(const DisplaySettings&, const DisplaySettings&) = default;
};
inline constexpr double kDisplaySizes[] = {1.0, 1.5, 2.0};

std::optional<NameSystem> parseNameSystem(const QString& text);
std::optional<Accidentals> parseAccidentals(const QString& text);
std::optional<double> parseDisplaySize(const QString& text);
std::optional<Language> parseLanguage(const QString& text);
// The display's keys ("display/names") and their values.
std::vector<std::pair<QString, QString>> displayValues(const DisplaySettings& display);

struct SettingsReading {
    QuestionSettings settings;  // the defaults for whatever could not be read
    bool midi = true;           // a MIDI keyboard answers
    DailySettings daily;
    DisplaySettings display;
    std::vector<SettingsProblem> problems;
    bool readWhole = true;  // false where the file is there but could not be read at all
    QByteArray digest;      // of the bytes read (settingsDigest), empty where none were
};

// Reads the file: only a regular file of at most 64 KiB of text, never blocking on anything
// else. No file means the defaults and no problem.
SettingsReading readSettingsFile(const QString& path);

// The file's text with `values` ("group/key", value) set: a key's line keeps its place and
// its spelling and takes the new value; a key not there is added at the end of its group,
// and a group not there at the end of the text. Every other line stays as it stands.
QByteArray withValues(const QByteArray& text, const std::vector<std::pair<QString, QString>>& values);

// Sets `values` in the file, replacing it whole and atomically; the folder is made where it
// is missing. A file that is there but cannot be read whole is left as it is. Nothing on
// success.
std::optional<SettingsProblem> writeSettingsFile(const QString& path,
                                                 const std::vector<std::pair<QString, QString>>& values);

}  // namespace tonarika
