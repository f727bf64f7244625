#pragma once

// own
#include "DailyOverview.h"
#include "QuestionSettings.h"

// Qt
#include <QDate>
#include <QWidget>

// std
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;

namespace tonarika {

// What the recommended plan sets: the growing set, in three timbres and three octaves,
// with the guard and the weak notes. It is practised in Hard.
QuestionSettings recommendedPlan();

// The companion's first page, the learner's home: today's questions and minutes and the
// streak, the next step in the mode practised most lately, and buttons into practice and
// the test. With nothing practised yet, a plan for a first start that one click sets.
class HomePage : public QWidget {
    Q_OBJECT
public:
    using Today = std::function<QDate()>;
    // Starts the game with these arguments; whether it could be started.
    using Launcher = std::function<bool(const QStringList& arguments)>;

    HomePage(Today today, QWidget* parent = nullptr);

    // The days as the page of days counts them, and every answer for the next step.
    void showDays(const DailyOverview& overview, int goalMinutes);
    void showTrials(std::shared_ptr<const std::vector<Trial>> trials);
    // Which notes the game asks now, from the settings.
    void setNoteChoice(NoteChoice choice);
    // Where the plan is written; none: no plan offered.
    void setSettingsFile(const QString& file);
    void setLauncher(Launcher launcher) { m_launch = std::move(launcher); }

private:
    void refresh();
    void launch(const QStringList& arguments);
    void setPlan();

    Today m_today;
    Launcher m_launch;
    QString m_settingsFile;
    DailyOverview m_overview;
    int m_goal = 0;
    std::shared_ptr<const std::vector<Trial>> m_trials;
    NoteChoice m_noteChoice = NoteChoice::All;
    bool m_planSet = false;
    QLabel* m_todayText = nullptr;
    QLabel* m_next = nullptr;
    QPushButton* m_practise = nullptr;
    QPushButton* m_test = nullptr;
    QLabel* m_status = nullptr;
    QGroupBox* m_plan = nullptr;
    QLabel* m_planText = nullptr;
    QPushButton* m_setPlan = nullptr;
};

}  // namespace tonarika
