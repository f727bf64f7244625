#include "SettingsWatcher.h"

// own
#include "SettingsFile.h"

// Qt
#include <QFileInfo>
#include <QLoggingCategory>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcSettings, "tonarika.settings", QtWarningMsg)

}  // namespace

SettingsWatcher::SettingsWatcher(QString path, QObject* parent)
    : QObject(parent)
    , m_path(std::move(path))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(50);
    connect(&m_settle, &QTimer::timeout, this, &SettingsWatcher::reload);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    reload();
}

void SettingsWatcher::reload()
{
    SettingsReading reading = readSettingsFile(m_path);
    // Each reading's problems are told once, in one line.
    if (!reading.problems.empty() && reading.problems != m_reading.problems) {
        QStringList problems;
        for (const SettingsProblem& problem : reading.problems)
            problems << problemText(m_path, problem);
        qCWarning(lcSettings, "%s; the defaults stand for what could not be read", qUtf8Printable(problems.join(QStringLiteral("; "))));
    }
    const bool different = !(reading.settings == m_reading.settings) || reading.midi != m_reading.midi
                           || reading.daily != m_reading.daily || reading.display != m_reading.display
                           || reading.problems != m_reading.problems;
    m_reading = std::move(reading);
    watch();
    if (different)
        emit changed();
    emit read();
}

void SettingsWatcher::watch()
{
    // A file replaced by a rename is a new file: the watch is set again after each reading.
    const QFileInfo file(m_path);
    QStringList paths{m_path, file.absolutePath(), QFileInfo(file.absolutePath()).absolutePath()};
    QStringList wanted;
    for (const QString& path : paths) {
        if (QFileInfo::exists(path) && !m_watcher.files().contains(path) && !m_watcher.directories().contains(path))
            wanted << path;
    }
    if (!wanted.isEmpty())
        m_watcher.addPaths(wanted);
}

}  // namespace tonarika
