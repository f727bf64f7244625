#pragma once

// own
#include "DailyRules.h"
#include "ReminderSchedule.h"
#include "SettingsFile.h"

// Qt
#include <QGroupBox>
#include <QString>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;
class QTimeEdit;

namespace tonarika {

// The settings page's part for every day: the daily goal, the reminder's time with its
// on and off (scheduled as ReminderSchedule does), and the answer window. Each change
// writes its own key and nothing else.
class DailySettingsBox : public QGroupBox {
    Q_OBJECT
public:
    DailySettingsBox(QString file, ReminderSchedule schedule, QWidget* parent = nullptr);

    // Shows what the file holds.
    void show(const SettingsReading& reading);

signals:
    // What a change came to, for the page's status line (in Japanese).
    void told(const QString& text);
    // A change was written; `text` says so.
    void saved(const QString& text);

private:
    void writeGoal();
    void writeReminder();
    void writeWindow();
    AnswerWindow chosenWindow() const;
    void write(const std::vector<std::pair<QString, QString>>& values, const QString& saved);

    QString m_file;
    ReminderSchedule m_schedule;
    QSpinBox* m_goal = nullptr;
    QCheckBox* m_remind = nullptr;
    QTimeEdit* m_remindAt = nullptr;
    QComboBox* m_windowKind = nullptr;
    QDoubleSpinBox* m_windowSeconds = nullptr;
    QLabel* m_scheduled = nullptr;  // how the reminder is scheduled, in one line
    SettingsReading m_shown;
};

}  // namespace tonarika
