#pragma once

// own
#include "DailyOverview.h"
#include "JournalLoader.h"

// Qt
#include <QDate>
#include <QWidget>

// std
#include <functional>
#include <memory>

class QChart;
class QLabel;
class QStackedWidget;
class QTableWidget;

namespace tonarika {

// Every day of practice: a calendar of the last 16 weeks shaded by the minutes practised,
// with the days that met the goal marked; the streak and the longest one; the hours in all
// and this week; the notes learned against the hours, beside the adult study's mean as a
// reference; and 朝一番, each day's first twelve questions against the day's whole.
class DailyPage : public QWidget {
    Q_OBJECT
public:
    using Today = std::function<QDate()>;
    explicit DailyPage(Today today, QWidget* parent = nullptr);

    void showJournal(std::shared_ptr<const JournalSnapshot> snapshot);
    // The daily goal in minutes (0: none), from the settings.
    void setGoal(int minutes);

    const DailyOverview& overview() const { return m_overview; }
    int goal() const { return m_goal; }
    static constexpr int kWeeks = 16;

signals:
    // The days were counted again.
    void redrawn();

private:
    void redraw();
    void fillCalendar(std::int64_t today);
    void drawLearned();
    void drawFirstOfDay();

    Today m_today;
    std::shared_ptr<const JournalSnapshot> m_snapshot;
    int m_goal = 0;
    DailyOverview m_overview;
    QStackedWidget* m_stack = nullptr;
    QLabel* m_empty = nullptr;
    QLabel* m_summary = nullptr;
    QTableWidget* m_calendar = nullptr;
    QChart* m_learnedChart = nullptr;
    QChart* m_firstChart = nullptr;
};

}  // namespace tonarika
