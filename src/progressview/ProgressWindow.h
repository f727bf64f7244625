#pragma once

// own
#include "ScoreLogReader.h"

// Qt
#include <QFileSystemWatcher>
#include <QMainWindow>
#include <QTimer>

// std
#include <filesystem>
#include <functional>
#include <map>
#include <vector>

class QChart;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QStackedWidget;
class QTableWidget;

namespace tonarika {

class ProgressChartView;

// The player's progress from the score logs: the correct-answer rate of every run over
// time, with a moving average per mode, and a table of figures per mode beside it.
// It reads the logs again whenever one of them changes.
class ProgressWindow : public QMainWindow {
    Q_OBJECT
public:
    using Today = std::function<QDate()>;

    ProgressWindow(std::vector<std::filesystem::path> logs, ScoreLogReader reader, Today today = &QDate::currentDate,
                   QWidget* parent = nullptr);

    void reload();
    const ScoreHistory& history() const { return m_history; }
    // The runs of a mode as points, and their moving average as a line.
    QScatterSeries* points(const QString& mode) const { return m_points.at(mode); }
    QLineSeries* average(const QString& mode) const { return m_averages.at(mode); }

    // The colours of the two modes' points and lines.
    static QColor modeColour(const QString& mode);

private:
    void showHistory();
    void fillTable(QTableWidget* table, const QString& mode);
    void watchLogs();
    void showToolTip(const QString& mode, const QPointF& point, bool entered);

    std::vector<std::filesystem::path> m_logs;
    ScoreLogReader m_reader;
    Today m_today;
    ScoreHistory m_history;

    QStackedWidget* m_stack = nullptr;
    QLabel* m_empty = nullptr;
    ProgressChartView* m_chartView = nullptr;
    QChart* m_chart = nullptr;
    std::map<QString, QScatterSeries*> m_points;
    std::map<QString, QLineSeries*> m_averages;
    std::map<QString, QTableWidget*> m_tables;
    std::map<QString, std::vector<ScoreRecord>> m_runs;  // per mode, in the points' order
    QLabel* m_unreadable = nullptr;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

}  // namespace tonarika
