#pragma once

// own
#include "QuestionSettings.h"

// Qt
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace tonarika {

// The question settings as the settings file holds them now: read at the start and again
// whenever the file, its folder or the folder above change, so that the game asks what
// the companion last wrote. What cannot be read leaves one line on stderr (category
// tonarika.settings) and its defaults.
class SettingsWatcher : public QObject, public QuestionSettingsSource {
    Q_OBJECT
public:
    explicit SettingsWatcher(QString path, QObject* parent = nullptr);

    QuestionSettings questionSettings() const override { return m_settings; }
    // Reads the file again now.
    void reload();

signals:
    void changed();

private:
    void watch();

    QString m_path;
    QuestionSettings m_settings;
    QString m_told;  // the problems last told, so that each reading's are told once
    QFileSystemWatcher m_watcher;
    QTimer m_settle;  // a writer's rename and its folder's change come as one reading
};

}  // namespace tonarika
