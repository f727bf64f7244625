#pragma once

// Qt
#include <QObject>
#include <QTimer>

namespace tonarika {

class AnswerHistory;
class Form1;
class SettingsWatcher;

// Keeps the main window's title counting the day's minutes against the daily goal: after
// each answer, when the settings change, and as the clock passes midnight. Without a goal
// the title says nothing of the day.
class DayTitle : public QObject {
    Q_OBJECT
public:
    DayTitle(Form1& window, AnswerHistory& history, const SettingsWatcher& settings);
    ~DayTitle() override;

    // Shows what the title says now.
    void update();

private:
    Form1& m_window;
    AnswerHistory& m_history;
    const SettingsWatcher& m_settings;
    QTimer m_minute;  // a pause adds its minute, and midnight starts a new day
};

}  // namespace tonarika
