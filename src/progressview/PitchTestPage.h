#pragma once

// own
#include "JournalReader.h"
#include "PitchTestHistory.h"

// Qt
#include <QWidget>

// std
#include <memory>
#include <vector>

class QChart;
class QChartView;
class QLabel;
class QStackedWidget;
class QTableWidget;

namespace tonarika {

// The tests of absolute pitch the player has taken: a row each (its date, the pure tones'
// and the piano's score out of 36, the share a semitone off, the median time, the A4), an
// unfinished one marked; and both scores over time against the studies' cut-off.
class PitchTestPage : public QWidget {
    Q_OBJECT
public:
    explicit PitchTestPage(QWidget* parent = nullptr);

    void showTrials(std::shared_ptr<const std::vector<Trial>> trials);
    // Shows the same tests again, in the notes' names now chosen.
    void redraw();
    const std::vector<PitchTestRecord>& records() const { return m_records; }

private:
    void fillTable();
    void drawScores();

    std::shared_ptr<const std::vector<Trial>> m_trials;
    std::vector<PitchTestRecord> m_records;
    QStackedWidget* m_stack = nullptr;
    QLabel* m_empty = nullptr;
    QTableWidget* m_table = nullptr;
    QChart* m_chart = nullptr;
    QChartView* m_chartView = nullptr;
};

}  // namespace tonarika
