#include "SungView.h"

// own
#include "Progress.h"
#include "ProgressChartView.h"
#include "SingJudge.h"

// Qt
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

// std
#include <algorithm>
#include <cmath>

namespace tonarika {

SungView::SungView(QWidget* parent)
    : QWidget(parent)
{
    auto* title = new QLabel(tr("歌った音の成績"));
    title->setObjectName(QStringLiteral("sungTitle"));
    m_table = new QTableWidget(0, 5);
    m_table->setObjectName(QStringLiteral("sungTable"));
    m_table->setAccessibleName(tr("歌った音の成績"));
    m_table->setHorizontalHeaderLabels({tr("音"), tr("歌った回数"), tr("±50 セント以内"), tr("平均のずれ（正確さ）"),
                                        tr("ばらつき（精度）")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_chart = new QChart;
    m_chart->setBackgroundVisible(false);
    m_chart->setTitle(tr("音ごとのずれの推移（セント）"));
    m_chart->setTitleFont(font());
    m_view = new QChartView(m_chart);
    m_view->setObjectName(QStringLiteral("sungChart"));
    m_view->setAccessibleName(tr("歌った音のずれの推移のグラフ"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumHeight(220);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(m_table, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_view);
}

void SungView::show(const std::vector<const Trial*>& sung)
{
    const auto figures = sungFigures(sung);
    m_table->setRowCount(0);
    for (const int note : kKeyboardOrder) {
        const SungFigures& figure = figures.at(std::size_t(note));
        if (figure.answers == 0)
            continue;
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        const QStringList cells{noteText(note), QString::number(figure.answers), percentText(figure.withinShare * 100.0),
                                tr("%1 セント").arg(QString::fromStdString(signedCents(figure.meanCents))),
                                figure.answers > 1 ? tr("%1 セント").arg(QLocale().toString(figure.spreadCents, 'f', 1))
                                                   : QStringLiteral("—")};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }

    clearChart(*m_chart);
    double widest = 100;
    std::int64_t first = 0, last = 0;
    for (const int note : kKeyboardOrder) {
        auto* series = new QLineSeries;
        series->setName(noteText(note));
        series->setPointsVisible(true);
        for (const Trial* trial : sung) {
            if (trial->asked != note || !trial->centsOff)
                continue;
            series->append(double(trial->answeredAtMs), double(*trial->centsOff));
            widest = std::max(widest, std::abs(double(*trial->centsOff)));
            first = first == 0 ? trial->answeredAtMs : std::min(first, trial->answeredAtMs);
            last = std::max(last, trial->answeredAtMs);
        }
        if (series->count() == 0) {
            delete series;
            continue;
        }
        m_chart->addSeries(series);
    }
    auto* time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("MM/dd"));
    if (first > 0)
        time->setRange(QDateTime::fromMSecsSinceEpoch(first - 3'600'000), QDateTime::fromMSecsSinceEpoch(last + 3'600'000));
    time->setTickCount(4);
    auto* cents = new QValueAxis;
    const double edge = std::ceil(widest / 50.0) * 50.0;
    cents->setRange(-edge, edge);
    cents->setLabelFormat(QStringLiteral("%+d"));
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(time), static_cast<QAbstractAxis*>(cents)})
        axis->setLabelsFont(font());
    m_chart->addAxis(time, Qt::AlignBottom);
    m_chart->addAxis(cents, Qt::AlignLeft);
    for (QAbstractSeries* series : m_chart->series()) {
        series->attachAxis(time);
        series->attachAxis(cents);
    }
    int within = 0;
    for (const auto& figure : figures)
        within += int(std::lround(figure.withinShare * figure.answers));
    m_view->setAccessibleDescription(
        sung.empty() ? tr("選んだ期間には、歌った答えがありません。")
                     : tr("歌った答え %1 回、そのうち ±50 セント以内 %2 回。").arg(sung.size()).arg(within));
}

}  // namespace tonarika
