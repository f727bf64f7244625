#pragma once

// own
#include "QuestionSettings.h"
#include "SettingsFile.h"

// Qt
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace tonarika {

// The question settings as the settings file holds them now: read at the start and again
// whenever the file, its folder or the folder above change, so that the game asks what
// the companion last wrote, and the companion shows what the player last wrote by hand.
// What cannot be read leaves one line on stderr (category tonarika.settings) and its
// defaults.
class SettingsWatcher : public QObject, public QuestionSettingsSource {
    Q_OBJECT
public:
    explicit SettingsWatcher(QString path, QObject* parent = nullptr);

    QuestionSettings questionSettings() const override { return m_reading.settings; }
    // The last reading, with what could not be taken from it.
    const SettingsReading& reading() const { return m_reading; }
    // Reads the file again now.
    void reload();

signals:
    // The settings, or what could not be read of them, are not what they were.
    void changed();
    // The file was read, changed or not.
    void read();

private:
    void watch();

    QString m_path;
    SettingsReading m_reading;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;  // a writer's rename and its folder's change come as one reading
};

}  // namespace tonarika
