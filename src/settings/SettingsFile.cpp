#include "SettingsFile.h"

// Qt
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

// system
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// std
#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>

namespace tonarika {

namespace {

constexpr qint64 kMaxBytes = 64 * 1024;

const QString kTimbres = QStringLiteral("questions/timbres");
const QString kOctaves = QStringLiteral("questions/octaves");
const QString kGuard = QStringLiteral("questions/guard");
const QString kWeakNotes = QStringLiteral("questions/weak_notes");

// A value with commas reads as a list in an INI file; either way, the text it was.
QString valueText(const QVariant& value)
{
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
}

// The file's bytes; nothing, and why in `problems`, where it is no regular file of at most
// 64 KiB. No file at all is no problem. What is checked is the file that was opened:
// O_NONBLOCK, so that a FIFO put in its place is never waited on.
std::optional<QByteArray> readBytes(const QString& path, QStringList& problems)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            problems << QStringLiteral("%1 cannot be opened: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return std::nullopt;
    }
    struct stat status {};
    QByteArray bytes;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        problems << QStringLiteral("%1 is not a regular file").arg(path);
    } else if (status.st_size > kMaxBytes) {
        problems << QStringLiteral("%1 is larger than 64 KiB").arg(path);
    } else {
        bytes.resize(qsizetype(kMaxBytes) + 1);
        qsizetype got = 0;
        for (;;) {
            const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
            if (got == bytes.size())
                break;
        }
        bytes.resize(got);
        if (got > kMaxBytes)
            problems << QStringLiteral("%1 is larger than 64 KiB").arg(path);
    }
    ::close(fd);
    if (!problems.isEmpty())
        return std::nullopt;
    return bytes;
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

}  // namespace


QString settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/tonarika/tonarika.conf");
}

std::optional<std::vector<Timbre>> parseTimbres(const QString& text)
{
    std::vector<Timbre> timbres;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const auto timbre = timbreFromKey(part.trimmed().toStdString());
        if (!timbre)
            return std::nullopt;
        if (std::find(timbres.begin(), timbres.end(), *timbre) == timbres.end())
            timbres.push_back(*timbre);
    }
    if (timbres.empty())
        return std::nullopt;
    // Always in the table's order, however the file lists them.
    std::sort(timbres.begin(), timbres.end());
    return timbres;
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

QString timbresText(const std::vector<Timbre>& timbres)
{
    QStringList keys;
    for (const Timbre timbre : timbres)
        keys << QString::fromUtf8(timbreKey(timbre).data(), qsizetype(timbreKey(timbre).size()));
    return keys.join(QStringLiteral(", "));
}

SettingsReading readSettingsFile(const QString& path)
{
    SettingsReading reading;
    const auto bytes = readBytes(path, reading.problems);
    if (!bytes)
        return reading;
    const bool read = withSettings(*bytes, [&](const QSettings& file) {
        auto take = [&](const QString& key, auto parse, auto& into) {
            if (!file.contains(key))
                return;
            const QString text = valueText(file.value(key));
            if (const auto value = parse(text))
                into = *value;
            else
                reading.problems << QStringLiteral("%1: %2 = \"%3\" is not understood").arg(path, key, text);
        };
        take(kTimbres, parseTimbres, reading.settings.timbres);
        take(kOctaves, parseOctaves, reading.settings.threeOctaves);
        take(kGuard, parseSwitch, reading.settings.guard);
        take(kWeakNotes, parseSwitch, reading.settings.weakNotes);
    });
    if (!read)
        reading.problems << QStringLiteral("%1 cannot be read as an INI file").arg(path);
    return reading;
}

QString writeSettingsFile(const QString& path, const QuestionSettings& settings)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("the folder %1 cannot be made").arg(QFileInfo(path).absolutePath());
    // QSettings writes in place; it writes a copy here, which then replaces the file whole.
    QTemporaryDir work;
    if (!work.isValid())
        return QStringLiteral("no temporary folder: %1").arg(work.errorString());
    const QString copy = work.filePath(QStringLiteral("tonarika.conf"));
    {
        QSettings out(copy, QSettings::IniFormat);
        // Whatever the file holds beside the question settings is kept.
        QStringList problems;
        if (const auto bytes = readBytes(path, problems)) {
            withSettings(*bytes, [&out](const QSettings& old) {
                for (const QString& key : old.allKeys())
                    out.setValue(key, old.value(key));
            });
        }
        out.setValue(kTimbres, timbresText(settings.timbres));
        out.setValue(kOctaves, settings.threeOctaves ? QStringLiteral("3-5") : QStringLiteral("4"));
        out.setValue(kGuard, settings.guard);
        out.setValue(kWeakNotes, settings.weakNotes);
        out.sync();
        if (out.status() != QSettings::NoError)
            return QStringLiteral("the settings cannot be written");
    }
    QFile made(copy);
    if (!made.open(QIODevice::ReadOnly))
        return made.errorString();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(made.readAll());
    if (!file.commit())
        return file.errorString();
    return {};
}

}  // namespace tonarika
