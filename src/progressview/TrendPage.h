#pragma once

// own
#include "ModeSeries.h"
#include "ProgressLoader.h"
#include "RunProfiles.h"

// Qt
#include <QTimer>
#include <QWidget>

// std
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

class QChart;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QStackedWidget;
class QTableWidget;

namespace tonarika {

class ProgressChartView;

// The correct-answer rate over time: a chart of each mode's runs with their moving
// average, above a table of each mode's figures. However long the history, the chart
// draws a point per run only where few enough runs are in view, and one per day, week,
// month or year elsewhere.
class TrendPage : public QWidget {
    Q_OBJECT
public:
    explicit TrendPage(QWidget* parent = nullptr);

    // Shows a snapshot; with no record in it, the sentence naming where the game writes
    // its log (one of `logs`) stands in for the chart.
    void showSnapshot(std::shared_ptr<const ProgressSnapshot> snapshot, const std::vector<std::filesystem::path>& logs);
    // What the journal says of the runs: what each asked, so that a run is labelled and the
    // best is taken among runs that asked alike; and today's questions in each mode, the
    // run still going included.
    void showJournal(const std::vector<JournalRun>& runs, std::map<QString, std::uint64_t> questionsToday);

    ProgressChartView* chartView() const { return m_chartView; }
    // A redraw of the points in view is still to come (the time shown has just changed).
    bool redrawPending() const { return m_redraw.isActive(); }
    QScatterSeries* points(const QString& mode) const { return m_points.at(mode); }
    QLineSeries* average(const QString& mode) const { return m_averages.at(mode); }
    // The points now drawn for a mode, in the order of its series.
    const std::vector<ChartPoint>& shownPoints(const QString& mode) const { return m_shown.at(mode); }

    // The colours of the two modes' points and lines.
    static QColor modeColour(const QString& mode);
    // At most this many points per mode are drawn, whatever the history's length.
    static constexpr std::size_t kMaxPoints = 1000;

protected:
    // The ticks follow the width.
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillTable();
    void redraw();
    void describeChart();
    void showToolTip(const QString& mode, const QPointF& point, bool entered);
    // The stretch of the time axis in view, as the records' own times.
    std::pair<std::int64_t, std::int64_t> timeInView() const;

    std::shared_ptr<const ProgressSnapshot> m_snapshot;
    std::optional<RunIndex> m_runs;  // once the journal is read
    std::map<QString, std::uint64_t> m_questionsToday;
    QStackedWidget* m_stack = nullptr;
    QLabel* m_empty = nullptr;
    ProgressChartView* m_chartView = nullptr;
    QChart* m_chart = nullptr;
    QTableWidget* m_table = nullptr;
    std::map<QString, QScatterSeries*> m_points;
    std::map<QString, QLineSeries*> m_averages;
    std::map<QString, std::vector<ChartPoint>> m_shown;
    QTimer m_redraw;  // one redraw for a burst of zoom and drag steps
};

}  // namespace tonarika
