#include "SettingsFile.h"

// own
#include "OutsideFile.h"

// Qt
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>

// system
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// std
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

namespace tonarika {

namespace {

constexpr qint64 kMaxBytes = 64 * 1024;

const QString kTimbres = QStringLiteral("questions/timbres");
const QString kOctaves = QStringLiteral("questions/octaves");
const QString kGuard = QStringLiteral("questions/guard");
const QString kWeakNotes = QStringLiteral("questions/weak_notes");
const QString kNotes = QStringLiteral("questions/notes");
const QString kA4 = QStringLiteral("questions/a4");
const QString kMidi = QStringLiteral("input/midi");

// The notes' names as the file spells them, sharps first, each with its index.
const std::pair<const char*, NoteIndex> kNoteNames[] = {
    {"C", 0},  {"C#", 7}, {"Db", 7}, {"D", 1},   {"D#", 8},  {"Eb", 8}, {"E", 2},  {"F", 3},
    {"F#", 9}, {"Gb", 9}, {"G", 4},  {"G#", 10}, {"Ab", 10}, {"A", 5},  {"A#", 11}, {"Bb", 11}, {"B", 6},
};

// A value with commas reads as a list in an INI file; either way, the text it was.
QString valueText(const QVariant& value)
{
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
}

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

// Reads settings from bytes: QSettings reads only files, so a private copy of them.
bool withSettings(const QByteArray& bytes, const std::function<void(const QSettings&)>& use)
{
    QTemporaryDir work;
    QFile copy(work.filePath(QStringLiteral("tonarika.conf")));
    if (!work.isValid() || !copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size())
        return false;
    copy.close();
    const QSettings settings(copy.fileName(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return false;
    use(settings);
    return true;
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
    case Kind::CannotOpen: return QStringLiteral("設定ファイルを読めません（%1）").arg(problem.detail);
    case Kind::NotARegularFile: return QStringLiteral("設定ファイルが普通のファイルではありません");
    case Kind::TooLarge: return QStringLiteral("設定ファイルが 64 KiB より大きいです");
    case Kind::NotText: return QStringLiteral("設定ファイルがテキストではありません");
    case Kind::NotUnderstood:
        return problem.detail.isEmpty()
                   ? QStringLiteral("%1 = \"%2\" を読み取れないため、既定の値を使います").arg(problem.key, problem.value)
                   : QStringLiteral("%1 = \"%2\" の「%3」は音の名前ではないため、既定の値を使います")
                         .arg(problem.key, problem.value, problem.detail);
    case Kind::UnknownWord: return QStringLiteral("%1 の「%2」は知らない値なので除きました").arg(problem.key, problem.value);
    case Kind::TooFewNotes:
        return QStringLiteral("%1 = \"%2\" では %3 で出題できる音が2つ未満なので、そのモードの音すべてを出題します")
            .arg(problem.key, problem.value, problem.detail);
    case Kind::FolderNotMade: return QStringLiteral("フォルダー %1 を作れません").arg(problem.detail);
    case Kind::NotWritten: return QStringLiteral("設定ファイルに書き込めません（%1）").arg(problem.detail);
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
    const bool read = withSettings(*bytes, [&](const QSettings& file) {
        using Kind = SettingsProblem::Kind;
        auto take = [&](const QString& key, auto parse, auto& into) {
            if (!file.contains(key))
                return;
            const QString text = valueText(file.value(key));
            if (const auto value = parse(text))
                into = *value;
            else
                reading.problems.push_back({Kind::NotUnderstood, shortKey(key), text, {}});
        };
        if (file.contains(kTimbres)) {
            const QString text = valueText(file.value(kTimbres));
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
        if (file.contains(kNotes)) {
            const QString text = valueText(file.value(kNotes));
            QString unknown;
            if (const auto notes = parseNotes(text, &unknown)) {
                reading.settings.notes = notes->choice;
                reading.settings.chosen = notes->chosen;
                // A mode with fewer than two of the notes chosen asks all its own: said once.
                if (notes->choice == NoteChoice::Chosen) {
                    QStringList modes;
                    for (const Mode mode : {Mode::Easy, Mode::Hard}) {
                        if (notes->chosen.within(NoteSet::ofMode(mode)).size() < 2)
                            modes << QString::fromUtf8(modeName(mode).data(), qsizetype(modeName(mode).size()));
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
    });
    if (!read) {
        reading.problems.push_back({SettingsProblem::Kind::NotText, {}, {}, {}});
        reading.readWhole = false;
    }
    return reading;
}

QByteArray withValues(const QByteArray& text, const std::vector<std::pair<QString, QString>>& values)
{
    // The lines with their own ends; a new line takes the end the file's first line has.
    std::vector<QByteArray> lines;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = text.indexOf('\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        lines.push_back(text.mid(start, next - start));
        start = next;
    }
    const QByteArray newline = !lines.empty() && lines.front().endsWith("\r\n") ? "\r\n" : "\n";
    if (!lines.empty() && !lines.back().endsWith('\n'))
        lines.back() += newline;

    const auto groupOf = [](const QByteArray& line) -> std::optional<QByteArray> {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.endsWith(']'))
            return trimmed.mid(1, trimmed.size() - 2).trimmed();
        return std::nullopt;
    };
    const auto keyOf = [](const QByteArray& line) -> QByteArray {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith(';') || trimmed.startsWith('#'))
            return {};
        const qsizetype equals = line.indexOf('=');
        return equals < 0 ? QByteArray() : line.left(equals).trimmed();
    };

    for (const auto& [fullKey, value] : values) {
        const QByteArray group = fullKey.section(QLatin1Char('/'), 0, 0).toUtf8();
        const QByteArray key = shortKey(fullKey).toUtf8();
        const QByteArray encoded = value.toUtf8();
        bool found = false;
        std::optional<std::size_t> groupEnd;  // after the last line of the group's last part
        QByteArray current;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (const auto name = groupOf(lines[i])) {
                current = *name;
                continue;
            }
            if (current != group)
                continue;
            if (!lines[i].trimmed().isEmpty())
                groupEnd = i + 1;
            if (keyOf(lines[i]) != key)
                continue;
            // Its spelling up to the value stays: the indent, the key, the spaces around "=".
            const QByteArray& line = lines[i];
            qsizetype valueAt = line.indexOf('=') + 1;
            while (valueAt < line.size() && (line[valueAt] == ' ' || line[valueAt] == '\t'))
                ++valueAt;
            const QByteArray end = line.endsWith("\r\n") ? "\r\n" : "\n";
            lines[i] = line.left(valueAt) + encoded + end;
            found = true;
        }
        if (found)
            continue;
        const QByteArray added = key + " = " + encoded + newline;
        if (groupEnd) {
            lines.insert(lines.begin() + std::ptrdiff_t(*groupEnd), added);
            continue;
        }
        // A group heading of its own, after a blank line where the text has one to follow.
        const bool groupHeadingThere = std::any_of(lines.begin(), lines.end(),
                                                   [&](const QByteArray& line) { return groupOf(line) == group; });
        if (!groupHeadingThere) {
            if (!lines.empty() && !lines.back().trimmed().isEmpty())
                lines.push_back(newline);
            lines.push_back("[" + group + "]" + newline);
            lines.push_back(added);
            continue;
        }
        // The group is there but empty: right under its last heading.
        for (std::size_t i = lines.size(); i-- > 0;) {
            if (groupOf(lines[i]) == group) {
                lines.insert(lines.begin() + std::ptrdiff_t(i + 1), added);
                break;
            }
        }
    }
    QByteArray result;
    for (const QByteArray& line : lines)
        result += line;
    return result;
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
