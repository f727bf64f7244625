#pragma once

// own
#include "NoteStatistics.h"

// Qt
#include <QFont>

class QChart;
class QChartView;

namespace tonarika {

// The daily median time of the right first answers, a point a day, each telling its day,
// its median and how many answers it is of; described for a screen reader.
class ReactionChart {
public:
    explicit ReactionChart(const QFont& font);

    // The view to lay out: its parent owns it, and with it the chart.
    QChartView* view() const { return m_view; }
    void show(const NoteStatistics& statistics);

private:
    QFont m_font;
    QChart* m_chart = nullptr;
    QChartView* m_view = nullptr;
};

}  // namespace tonarika
