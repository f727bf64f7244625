#include "PitchTestPage.h"

// own
#include "PageParts.h"

// own
#include "PitchTest.h"
#include "TranslatedWording.h"
#include "Progress.h"
#include "ProgressChartView.h"

// Qt
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QPen>
#include <QStackedWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

// std
#include <cmath>

namespace tonarika {

namespace {

// A score as the game's result gives it, with the locale's decimal point.
QString score(double value)
{
    return QString::fromStdString(decimals(value, QLocale().decimalPoint().toStdString()));
}

QDateTime localTime(const PitchTestRecord& record)
{
    return QDateTime::fromMSecsSinceEpoch(record.startedAtMs, Qt::UTC).toOffsetFromUtc(record.utcOffsetS);
}

}  // namespace

PitchTestPage::PitchTestPage(QWidget* parent)
    : QWidget(parent)
{
    m_table = new QTableWidget(0, 7);
    m_table->setObjectName(QStringLiteral("testTable"));
    m_table->setAccessibleName(tr("テストの記録"));
    m_table->setAccessibleDescription(
        tr("1 行に 1 回のテスト。純音とピアノはそれぞれ 36 点満点、半音違いは全回答のうち半音ずれた答えの割合、"
                       "よく間違えた音はそのテストで間違えた回数の多い音。"));
    m_table->setHorizontalHeaderLabels({tr("日時"), tr("純音"), tr("ピアノ"),
                                        tr("半音違い"), tr("反応時間（中央値）"),
                                        QStringLiteral("A4"), tr("間違えた音")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The notes missed take what room is left; each cell's tool tip holds it whole.
    m_table->horizontalHeader()->setSectionResizeMode(6, QHeaderView::Stretch);
    // As tall as its rows, up to a few: the chart keeps the rest of the page.
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_table->setMinimumHeight(100);
    m_table->setMaximumHeight(160);

    m_chart = new QChart;
    m_chart->setBackgroundVisible(false);
    m_chart->setTitle(tr("テストの得点（36 点満点）"));
    m_chart->setTitleFont(font());
    m_chart->legend()->setFont(font());
    m_chart->legend()->setAlignment(Qt::AlignRight);
    m_chartView = new QChartView(m_chart);
    m_chartView->setObjectName(QStringLiteral("testChart"));
    m_chartView->setAccessibleName(tr("テストの得点の推移のグラフ"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setMinimumHeight(200);

    auto* content = new QWidget;
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->addWidget(m_table);
    contentLayout->addWidget(m_chartView, 1);
    // However small the window, the table and the chart can be scrolled to.
    m_empty = emptyNote(tr("テストの記録はまだありません。\nゲームを「絶対音感テスト」"
                                       "（tonarika --test）で始めると、72 問のテストを受けられます。"),
                        QStringLiteral("noTests"));
    m_stack = pageOrEmpty(scrolling(content), m_empty);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_stack, 1);
}

void PitchTestPage::showTrials(std::shared_ptr<const std::vector<Trial>> trials)
{
    if (trials == m_trials)
        return;
    m_trials = std::move(trials);
    m_records = m_trials ? pitchTestRecords(*m_trials) : std::vector<PitchTestRecord>{};
    m_stack->setCurrentWidget(m_records.empty() ? static_cast<QWidget*>(m_empty) : m_stack->widget(0));
    fillTable();
    drawScores();
}

void PitchTestPage::redraw()
{
    fillTable();
    drawScores();
}

void PitchTestPage::fillTable()
{
    // The newest test first.
    m_table->setRowCount(int(m_records.size()));
    int row = 0;
    for (auto record = m_records.rbegin(); record != m_records.rend(); ++record, ++row) {
        QStringList cells{localTime(*record).toString(QStringLiteral("yyyy/MM/dd HH:mm"))};
        if (const auto& result = record->result) {
            cells << score(result->pureTone) + QStringLiteral(" / 36") << score(result->piano) + QStringLiteral(" / 36")
                  << QLocale().toString(result->semitoneShare, 'f', 1) + QStringLiteral(" %")
                  << (result->medianMs ? QLocale().toString(*result->medianMs / 1000.0, 'f', 1) + tr(" 秒")
                                       : QStringLiteral("―"));
        } else {
            cells << tr("中断（%1 / %2 問）").arg(record->answers).arg(kPitchTestItems) << QStringLiteral("―")
                  << QStringLiteral("―") << QStringLiteral("―");
        }
        cells << QStringLiteral("%1 Hz").arg(record->a4);
        if (const auto& result = record->result) {
            const std::string missed = mostMissedText(result->missed, noteNaming(), TranslatedWording());
            cells << (missed.empty() ? tr("なし") : QString::fromStdString(missed));
        } else {
            cells << QStringLiteral("―");
        }
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column == 6)
                item->setToolTip(cells[column]);
            if (column > 0 && column < 6)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }
}

void PitchTestPage::drawScores()
{
    clearChart(*m_chart);
    auto* pure = new QLineSeries;
    pure->setName(tr("純音"));
    auto* piano = new QLineSeries;
    piano->setName(tr("ピアノ"));
    const PitchTestRecord* last = nullptr;
    int scored = 0;
    for (const PitchTestRecord& record : m_records) {
        if (!record.result)
            continue;
        // At the clock where it was taken, as the table gives it: the axis reads its values
        // on this machine's clock.
        const QDateTime taken = localTime(record);
        const auto at = double(QDateTime(taken.date(), taken.time()).toMSecsSinceEpoch());
        pure->append(at, record.result->pureTone);
        piano->append(at, record.result->piano);
        last = &record;
        ++scored;
    }
    for (QLineSeries* series : {pure, piano})
        series->setPointsVisible(true);
    // The studies' cut-off across the whole span: a reference, not a line to be judged by.
    auto* reference = new QLineSeries;
    reference->setName(tr("目安 %1").arg(score(kPitchTestReference)));
    QPen dashed(QColor(0x80, 0x80, 0x80));
    dashed.setStyle(Qt::DashLine);
    dashed.setWidth(2);
    reference->setPen(dashed);
    // Whole days, one either side, so that no test is drawn on the axis's edge; a tick a
    // day where the days are few.
    const QDate first = m_records.empty() ? QDate(2000, 1, 1) : localTime(m_records.front()).date();
    const QDate lastDay = m_records.empty() ? first : localTime(m_records.back()).date();
    const qint64 from = first.addDays(-1).startOfDay().toMSecsSinceEpoch();
    const qint64 to = lastDay.addDays(2).startOfDay().toMSecsSinceEpoch();
    const qint64 span = first.addDays(-1).daysTo(lastDay.addDays(2));
    reference->append(double(from), kPitchTestReference);
    reference->append(double(to), kPitchTestReference);
    for (QLineSeries* series : {pure, piano, reference})
        m_chart->addSeries(series);

    auto* days = new QDateTimeAxis;
    days->setRange(QDateTime::fromMSecsSinceEpoch(from), QDateTime::fromMSecsSinceEpoch(to));
    days->setFormat(span > 360 ? QStringLiteral("yyyy/MM/dd") : QStringLiteral("MM/dd"));
    days->setTickCount(span <= 8 ? int(span) + 1 : 5);
    auto* points = new QValueAxis;
    points->setRange(0, kPitchTestItemsPerTimbre);
    points->setTickCount(5);
    points->setLabelFormat(QStringLiteral("%d"));
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(days), static_cast<QAbstractAxis*>(points)})
        axis->setLabelsFont(font());
    m_chart->addAxis(days, Qt::AlignBottom);
    m_chart->addAxis(points, Qt::AlignLeft);
    for (QAbstractSeries* series : m_chart->series()) {
        series->attachAxis(days);
        series->attachAxis(points);
    }
    m_chartView->setAccessibleDescription(
        last ? tr("最後まで答えたテスト %1 回分の得点。最後は純音 %2 / 36、ピアノ %3 / 36。目安は純音 %4 / 36。")
                   .arg(scored)
                   .arg(score(last->result->pureTone), score(last->result->piano), score(kPitchTestReference))
             : tr("最後まで答えたテストはまだありません。目安は純音 %1 / 36。").arg(score(kPitchTestReference)));
}

}  // namespace tonarika
