#include "SettingsFile.h"

// own
#include "IniDocument.h"
#include "OutsideFile.h"
#include "SettingsReceipt.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

// std
#include <algorithm>
#include <cmath>

namespace tonarika {

namespace {

constexpr qint64 kMaxBytes = 64 * 1024;

const QString kTimbres = QStringLiteral("questions/timbres");
const QString kOctaves = QStringLiteral("questions/octaves");
const QString kGuard = QStringLiteral("questions/guard");
const QString kWeakNotes = QStringLiteral("questions/weak_notes");
const QString kNotes = QStringLiteral("questions/notes");
const QString kA4 = QStringLiteral("questions/a4");
const QString kAnswerWithin = QStringLiteral("questions/answer_within");
const QString kShowAnswer = QStringLiteral("questions/show_answer");
const QString kMidi = QStringLiteral("input/midi");
const QString kDailyMinutes = QStringLiteral("practice/daily_minutes");
const QString kRemindAt = QStringLiteral("practice/remind_at");
const QString kNames = QStringLiteral("display/names");
const QString kAccidentals = QStringLiteral("display/accidentals");
const QString kSize = QStringLiteral("display/size");
const QString kLanguage = QStringLiteral("display/language");

const std::pair<const char*, NameSystem> kNameSystems[] = {
    {"doremi", NameSystem::Doremi}, {"letters", NameSystem::Letters}, {"solfege", NameSystem::Solfege},
    {"german", NameSystem::German}, {"iroha", NameSystem::Iroha},
};
const std::pair<const char*, Language> kLanguages[] = {{"ja", Language::Japanese}, {"en", Language::English}};
const std::pair<const char*, Accidentals> kAccidentalChoices[] = {
    {"sharps", Accidentals::Sharps}, {"flats", Accidentals::Flats}, {"both", Accidentals::Both},
};

// A word of a table, any case; nothing where it is none of them.
template <typename T, std::size_t N>
std::optional<T> word(const std::pair<const char*, T> (&table)[N], const QString& text)
{
    const QString value = text.trimmed().toLower();
    for (const auto& [name, choice] : table) {
        if (value == QLatin1String(name))
            return choice;
    }
    return std::nullopt;
}

template <typename T, std::size_t N>
QString wordOf(const std::pair<const char*, T> (&table)[N], T choice)
{
    for (const auto& [name, each] : table) {
        if (each == choice)
            return QLatin1String(name);
    }
    return {};
}

// The notes' names as the file spells them, sharps first, each with its index.
const std::pair<const char*, NoteIndex> kNoteNames[] = {
    {"C", 0},  {"C#", 7}, {"Db", 7}, {"D", 1},   {"D#", 8},  {"Eb", 8}, {"E", 2},  {"F", 3},
    {"F#", 9}, {"Gb", 9}, {"G", 4},  {"G#", 10}, {"Ab", 10}, {"A", 5},  {"A#", 11}, {"Bb", 11}, {"B", 6},
};

bool isText(const QByteArray& bytes)
{
    if (bytes.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// The file's bytes; nothing, and why, where it is no regular file of at most 64 KiB of
// text. No file at all is no problem. A link is followed: a player's settings are often
// kept elsewhere.
std::optional<QByteArray> readBytes(const QString& path, std::vector<SettingsProblem>& problems)
{
    using Kind = SettingsProblem::Kind;
    using Refusal = OutsideFile::Refusal;
    OutsideFile file = OutsideFile::toRead(QFile::encodeName(path).toStdString(), OutsideFile::Links::Followed);
    const auto bytes = file ? file.bytes(std::uint64_t(kMaxBytes)) : std::nullopt;
    if (!bytes) {
        switch (file.refusal()->kind) {
        case Refusal::Kind::Missing: break;
        case Refusal::Kind::NotARegularFile: problems.push_back({Kind::NotARegularFile, {}, {}, {}}); break;
        case Refusal::Kind::TooLarge: problems.push_back({Kind::TooLarge, {}, {}, {}}); break;
        case Refusal::Kind::Link:
        case Refusal::Kind::CannotOpen:
        case Refusal::Kind::Unreadable:
            problems.push_back({Kind::CannotOpen, {}, {}, QString::fromLocal8Bit(file.refusal()->text().c_str())});
            break;
        }
        return std::nullopt;
    }
    QByteArray text(bytes->data(), qsizetype(bytes->size()));
    if (!isText(text)) {
        problems.push_back({Kind::NotText, {}, {}, {}});
        return std::nullopt;
    }
    return text;
}

// A key's name within its group: "timbres" of "questions/timbres".
QString shortKey(const QString& key)
{
    return key.section(QLatin1Char('/'), -1);
}

}  // namespace

QString settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/tonarika/tonarika.conf");
}

QString problemText(const QString& path, const SettingsProblem& problem)
{
    using Kind = SettingsProblem::Kind;
    switch (problem.kind) {
    case Kind::CannotOpen: return QStringLiteral("%1 cannot be read: %2").arg(path, problem.detail);
    case Kind::NotARegularFile: return QStringLiteral("%1 is not a regular file").arg(path);
    case Kind::TooLarge: return QStringLiteral("%1 is larger than 64 KiB").arg(path);
    case Kind::NotText: return QStringLiteral("%1 is not text").arg(path);
    case Kind::NotUnderstood:
        return QStringLiteral("%1: %2 = \"%3\" is not understood").arg(path, problem.key, problem.value)
               + (problem.detail.isEmpty() ? QString() : QStringLiteral(": \"%1\" names no note").arg(problem.detail));
    case Kind::UnknownWord:
        return QStringLiteral("%1: %2: \"%3\" is not known, and is left out").arg(path, problem.key, problem.value);
    case Kind::TooFewNotes:
        return QStringLiteral("%1: %2 = \"%3\" leaves fewer than two notes in %4, where the mode's notes are asked")
            .arg(path, problem.key, problem.value, problem.detail);
    case Kind::FolderNotMade: return QStringLiteral("the folder %1 cannot be made").arg(problem.detail);
    case Kind::NotWritten: return QStringLiteral("%1 cannot be written: %2").arg(path, problem.detail);
    }
    return path;
}

QString problemTextJapanese(const SettingsProblem& problem)
{
    using Kind = SettingsProblem::Kind;
    switch (problem.kind) {
    case Kind::CannotOpen: return QCoreApplication::translate("SettingsFile", "設定ファイルを読めません（%1）").arg(problem.detail);
    case Kind::NotARegularFile: return QCoreApplication::translate("SettingsFile", "設定ファイルが普通のファイルではありません");
    case Kind::TooLarge: return QCoreApplication::translate("SettingsFile", "設定ファイルが 64 KiB より大きいです");
    case Kind::NotText: return QCoreApplication::translate("SettingsFile", "設定ファイルがテキストではありません");
    case Kind::NotUnderstood:
        return problem.detail.isEmpty()
                   ? QCoreApplication::translate("SettingsFile", "%1 = \"%2\" を読み取れないため、既定の値を使います").arg(problem.key, problem.value)
                   : QCoreApplication::translate("SettingsFile", "%1 = \"%2\" の「%3」は音の名前ではないため、既定の値を使います")
                         .arg(problem.key, problem.value, problem.detail);
    case Kind::UnknownWord: return QCoreApplication::translate("SettingsFile", "%1 の「%2」は知らない値なので除きました").arg(problem.key, problem.value);
    case Kind::TooFewNotes:
        return QCoreApplication::translate("SettingsFile", "%1 = \"%2\" では %3 で出題できる音が2つ未満なので、そのモードの音すべてを出題します")
            .arg(problem.key, problem.value, problem.detail);
    case Kind::FolderNotMade: return QCoreApplication::translate("SettingsFile", "フォルダー %1 を作れません").arg(problem.detail);
    case Kind::NotWritten: return QCoreApplication::translate("SettingsFile", "設定ファイルに書き込めません（%1）").arg(problem.detail);
    }
    return {};
}

TimbreList parseTimbres(const QString& text)
{
    TimbreList list;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QString word = part.trimmed();
        if (word.isEmpty())
            continue;
        const auto timbre = timbreFromKey(word.toStdString());
        if (!timbre)
            list.unknown << word;
        else if (std::find(list.timbres.begin(), list.timbres.end(), *timbre) == list.timbres.end())
            list.timbres.push_back(*timbre);
    }
    // Always in the table's order, however the file lists them.
    std::sort(list.timbres.begin(), list.timbres.end());
    return list;
}

std::optional<bool> parseOctaves(const QString& text)
{
    const QString octaves = text.trimmed();
    if (octaves == QLatin1String("4"))
        return false;
    if (octaves == QLatin1String("3-5"))
        return true;
    return std::nullopt;
}

std::optional<bool> parseSwitch(const QString& text)
{
    const QString value = text.trimmed().toLower();
    if (value == QLatin1String("true"))
        return true;
    if (value == QLatin1String("false"))
        return false;
    return std::nullopt;
}

std::optional<NoteIndex> parseNoteName(const QString& text)
{
    for (const auto& [name, note] : kNoteNames) {
        if (text.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return note;
    }
    return std::nullopt;
}

std::optional<NoteChoiceText> parseNotes(const QString& text, QString* unknown)
{
    const QString value = text.trimmed().toLower();
    if (value == QLatin1String("all"))
        return NoteChoiceText{NoteChoice::All, {}};
    if (value == QLatin1String("growing"))
        return NoteChoiceText{NoteChoice::Growing, {}};
    NoteChoiceText list{NoteChoice::Chosen, {}};
    for (const QString& word : text.split(QLatin1Char(','))) {
        if (word.trimmed().isEmpty())
            continue;
        const auto note = parseNoteName(word);
        if (!note) {
            if (unknown)
                *unknown = word.trimmed();
            return std::nullopt;
        }
        list.chosen.add(*note);
    }
    if (list.chosen.size() == 0)
        return std::nullopt;
    return list;
}

std::optional<int> parseA4(const QString& text)
{
    bool number = false;
    const int hz = text.trimmed().toInt(&number);
    if (!number || hz < kLowestA4 || hz > kHighestA4)
        return std::nullopt;
    return hz;
}

std::optional<AnswerWindow> parseAnswerWindow(const QString& text)
{
    const QString value = text.trimmed().toLower();
    if (value == QLatin1String("off"))
        return AnswerWindow{};
    if (value == QLatin1String("adaptive"))
        return AnswerWindow{AnswerWindow::Kind::Adaptive, 0};
    // Seconds with a point, whatever the locale: "1.5", "2".
    bool number = false;
    const double seconds = QLocale::c().toDouble(value, &number);
    if (!number || !(seconds >= 1.0 && seconds <= 5.0))
        return std::nullopt;
    return AnswerWindow{AnswerWindow::Kind::Fixed, std::uint32_t(std::lround(seconds * 1000.0))};
}

std::optional<int> parseDailyMinutes(const QString& text)
{
    bool number = false;
    const int minutes = text.trimmed().toInt(&number);
    if (!number || (minutes != 0 && (minutes < kLeastGoalMinutes || minutes > kMostGoalMinutes)))
        return std::nullopt;
    return minutes;
}

std::optional<int> parseTimeOfDay(const QString& text)
{
    const QString value = text.trimmed();
    const QStringList parts = value.split(QLatin1Char(':'));
    if (parts.size() != 2 || parts[0].isEmpty() || parts[0].size() > 2 || parts[1].size() != 2)
        return std::nullopt;
    bool hourRead = false;
    bool minuteRead = false;
    const int hour = parts[0].toInt(&hourRead);
    const int minute = parts[1].toInt(&minuteRead);
    if (!hourRead || !minuteRead || hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return std::nullopt;
    return hour * 60 + minute;
}

std::pair<QString, QString> answerWindowValue(const AnswerWindow& window)
{
    switch (window.kind) {
    case AnswerWindow::Kind::Off: break;
    case AnswerWindow::Kind::Adaptive: return {kAnswerWithin, QStringLiteral("adaptive")};
    case AnswerWindow::Kind::Fixed: return {kAnswerWithin, QString::number(double(window.fixedMs) / 1000.0, 'g', 4)};
    }
    return {kAnswerWithin, QStringLiteral("off")};
}

std::pair<QString, QString> goalValue(int goalMinutes)
{
    return {kDailyMinutes, QString::number(goalMinutes)};
}

std::pair<QString, QString> remindValue(std::optional<int> remindAtMinutes)
{
    if (!remindAtMinutes)
        return {kRemindAt, QString()};
    return {kRemindAt, QStringLiteral("%1:%2")
                           .arg(*remindAtMinutes / 60, 2, 10, QLatin1Char('0'))
                           .arg(*remindAtMinutes % 60, 2, 10, QLatin1Char('0'))};
}

std::optional<NameSystem> parseNameSystem(const QString& text)
{
    return word(kNameSystems, text);
}

std::optional<Accidentals> parseAccidentals(const QString& text)
{
    return word(kAccidentalChoices, text);
}

std::optional<Language> parseLanguage(const QString& text)
{
    return word(kLanguages, text);
}

std::optional<double> parseDisplaySize(const QString& text)
{
    bool read = false;
    const double size = text.trimmed().toDouble(&read);
    if (!read)
        return std::nullopt;
    for (const double allowed : kDisplaySizes) {
        if (size == allowed)
            return size;
    }
    return std::nullopt;
}

std::vector<std::pair<QString, QString>> displayValues(const DisplaySettings& display)
{
    return {
        {kNames, wordOf(kNameSystems, display.naming.system)},
        {kAccidentals, wordOf(kAccidentalChoices, display.naming.accidentals)},
        {kSize, QString::number(display.size, 'g', 3)},
        {kLanguage, wordOf(kLanguages, display.language)},
    };
}

std::vector<std::pair<QString, QString>> dailyValues(const DailySettings& daily)
{
    return {goalValue(daily.goalMinutes), remindValue(daily.remindAtMinutes)};
}

// The chosen notes as the file spells them, in the order of the keyboard.
QString notesText(const QuestionSettings& settings)
{
    if (settings.notes == NoteChoice::All)
        return QStringLiteral("all");
    if (settings.notes == NoteChoice::Growing)
        return QStringLiteral("growing");
    QStringList names;
    for (const int note : kKeyboardOrder) {
        if (!settings.chosen.contains(note))
            continue;
        for (const auto& [name, index] : kNoteNames) {
            if (index == note) {
                names << QLatin1String(name);
                break;
            }
        }
    }
    return names.join(QStringLiteral(", "));
}

std::optional<bool> parseOnOff(const QString& text)
{
    const QString value = text.trimmed().toLower();
    if (value == QLatin1String("on"))
        return true;
    if (value == QLatin1String("off"))
        return false;
    return parseSwitch(value);
}

std::pair<QString, QString> midiValue(bool midi)
{
    return {kMidi, midi ? QStringLiteral("on") : QStringLiteral("off")};
}

std::vector<std::pair<QString, QString>> settingsValues(const QuestionSettings& settings)
{
    QStringList timbres;
    for (const Timbre timbre : settings.timbres)
        timbres << QString::fromUtf8(timbreKey(timbre).data(), qsizetype(timbreKey(timbre).size()));
    const auto onOff = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    return {
        {kTimbres, timbres.join(QStringLiteral(", "))},
        {kOctaves, settings.threeOctaves ? QStringLiteral("3-5") : QStringLiteral("4")},
        {kGuard, onOff(settings.guard)},
        {kWeakNotes, onOff(settings.weakNotes)},
        {kNotes, notesText(settings)},
        {kA4, QString::number(settings.a4)},
        answerWindowValue(settings.answerWindow),
        {kShowAnswer, onOff(settings.showAnswer)},
    };
}

SettingsReading readSettingsFile(const QString& path)
{
    SettingsReading reading;
    const auto bytes = readBytes(path, reading.problems);
    if (!bytes) {
        reading.readWhole = reading.problems.empty();
        return reading;
    }
    reading.digest = settingsDigest(*bytes);
    const IniDocument file(*bytes);
    {
        using Kind = SettingsProblem::Kind;
        auto take = [&](const QString& key, auto parse, auto& into) {
            const auto text = file.value(key);
            if (!text)
                return;
            if (const auto value = parse(*text))
                into = *value;
            else
                reading.problems.push_back({Kind::NotUnderstood, shortKey(key), *text, {}});
        };
        if (const auto timbres = file.value(kTimbres)) {
            const QString& text = *timbres;
            const TimbreList list = parseTimbres(text);
            // Only the words it does not know are dropped; with none it knows, the default.
            for (const QString& word : list.unknown)
                reading.problems.push_back({Kind::UnknownWord, shortKey(kTimbres), word, {}});
            if (!list.timbres.empty())
                reading.settings.timbres = list.timbres;
            else if (list.unknown.isEmpty())
                reading.problems.push_back({Kind::NotUnderstood, shortKey(kTimbres), text, {}});
        }
        take(kOctaves, parseOctaves, reading.settings.threeOctaves);
        take(kGuard, parseSwitch, reading.settings.guard);
        take(kWeakNotes, parseSwitch, reading.settings.weakNotes);
        take(kA4, parseA4, reading.settings.a4);
        take(kMidi, parseOnOff, reading.midi);
        take(kAnswerWithin, parseAnswerWindow, reading.settings.answerWindow);
        take(kShowAnswer, parseSwitch, reading.settings.showAnswer);
        take(kNames, parseNameSystem, reading.display.naming.system);
        take(kAccidentals, parseAccidentals, reading.display.naming.accidentals);
        take(kSize, parseDisplaySize, reading.display.size);
        take(kLanguage, parseLanguage, reading.display.language);
        take(kDailyMinutes, parseDailyMinutes, reading.daily.goalMinutes);
        // No time, no reminder.
        if (!file.value(kRemindAt).value_or(QString()).trimmed().isEmpty())
            take(kRemindAt, parseTimeOfDay, reading.daily.remindAtMinutes);
        if (const auto written = file.value(kNotes)) {
            const QString& text = *written;
            QString unknown;
            if (const auto notes = parseNotes(text, &unknown)) {
                reading.settings.notes = notes->choice;
                reading.settings.chosen = notes->chosen;
                // A mode with fewer than two of the notes chosen asks all its own: said once.
                if (notes->choice == NoteChoice::Chosen) {
                    QStringList modes;
                    for (const Mode mode : {Mode::Easy, Mode::Hard}) {
                        if (notes->chosen.within(NoteSet::ofMode(mode)).size() < 2)
                            modes << QCoreApplication::translate("Game", std::string(modeName(mode)).c_str());
                    }
                    if (!modes.isEmpty())
                        reading.problems.push_back({Kind::TooFewNotes, shortKey(kNotes), text, modes.join(QStringLiteral(" and "))});
                }
            } else if (!unknown.isEmpty()) {
                reading.problems.push_back({Kind::NotUnderstood, shortKey(kNotes), text, unknown});
            } else {
                reading.problems.push_back({Kind::NotUnderstood, shortKey(kNotes), text, {}});
            }
        }
    }
    return reading;
}

QByteArray withValues(const QByteArray& text, const std::vector<std::pair<QString, QString>>& values)
{
    IniDocument document(text);
    for (const auto& [key, value] : values)
        document.setValue(key, value);
    return document.text();
}

std::optional<SettingsProblem> writeSettingsFile(const QString& path,
                                                 const std::vector<std::pair<QString, QString>>& values)
{
    using Kind = SettingsProblem::Kind;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return SettingsProblem{Kind::FolderNotMade, {}, {}, folder};
    // What the file holds is kept line for line; a file that cannot be read whole is never
    // written over, lest what it holds be lost.
    std::vector<SettingsProblem> problems;
    const auto bytes = readBytes(path, problems);
    if (!problems.empty())
        return problems.front();
    const QByteArray text = withValues(bytes.value_or(QByteArray()), values);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return SettingsProblem{Kind::NotWritten, {}, {}, file.errorString()};
    // A write the disk refuses (it is full, or a file size limit) shows at the flush: commit()
    // would still put the cut-off file in the player's place and report success.
    if (file.write(text) != text.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return SettingsProblem{Kind::NotWritten, {}, {}, why};
    }
    if (!file.commit())
        return SettingsProblem{Kind::NotWritten, {}, {}, file.errorString()};
    return std::nullopt;
}

}  // namespace tonarika
