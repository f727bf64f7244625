#pragma once

// own
#include "Journal.h"
#include "SungStatistics.h"

// Qt
#include <QWidget>

// std
#include <vector>

class QChart;
class QChartView;
class QTableWidget;

namespace tonarika {

// The notes sung, on 音ごと: for each note over the period chosen, the share within 50 cents,
// the accuracy and the precision in cents, and a chart of each note's errors over time.
class SungView : public QWidget {
    Q_OBJECT
public:
    explicit SungView(QWidget* parent = nullptr);

    // `sung`: the sung answers of the period, oldest first.
    void show(const std::vector<const Trial*>& sung);

private:
    QTableWidget* m_table = nullptr;
    QChart* m_chart = nullptr;
    QChartView* m_view = nullptr;
};

}  // namespace tonarika
