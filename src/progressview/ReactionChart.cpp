#include "ReactionChart.h"

// own
#include "Progress.h"
#include "ProgressChartView.h"

// Qt
#include <QCoreApplication>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFontMetrics>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

// std
#include <cmath>
#include <memory>

namespace tonarika {

namespace {

const QColor kShareColour(0x1F, 0x5F, 0xBF);

}  // namespace

ReactionChart::ReactionChart(const QFont& font)
    : m_font(font)
{
    m_chart = new QChart;
    m_chart->setBackgroundVisible(false);
    m_chart->legend()->hide();
    m_chart->setTitle(QCoreApplication::translate("ReactionChart", "正解した最初の答えの反応時間（日ごとの中央値、秒）"));
    m_chart->setTitleFont(m_font);
    // The last day's label is centred on the axis's end: room for half of it to the right,
    // so that it never reads cut short ("12/0").
    QMargins margins = m_chart->margins();
    margins.setRight(margins.right() + QFontMetrics(m_font).horizontalAdvance(QStringLiteral("0000/00/00")) / 2 + 4);
    m_chart->setMargins(margins);
    m_view = new QChartView(m_chart);
    m_view->setObjectName(QStringLiteral("reactionChart"));
    m_view->setAccessibleName(QCoreApplication::translate("ReactionChart", "反応時間の推移のグラフ"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumHeight(220);
}

void ReactionChart::show(const NoteStatistics& statistics)
{
    // The points' tool tips keep the days they were drawn from.
    const auto shown = std::make_shared<const NoteStatistics>(statistics);
    const auto& daily = shown->dailyMedianMs;
    clearChart(*m_chart);
    auto* line = new QLineSeries;
    auto* points = new QScatterSeries;
    points->setMarkerSize(7);
    for (QXYSeries* series : {static_cast<QXYSeries*>(line), static_cast<QXYSeries*>(points)})
        series->setColor(kShareColour);
    double slowest = 1.0;
    for (const auto& [day, ms] : daily) {
        const QPointF point(double(day.startOfDay().toMSecsSinceEpoch()), ms / 1000.0);
        line->append(point);
        points->append(point);
        slowest = std::max(slowest, ms / 1000.0);
    }
    m_chart->addSeries(line);
    m_chart->addSeries(points);
    // Each day's point tells its date, its median and how many answers it is of.
    QObject::connect(points, &QScatterSeries::hovered, m_view, [shown](const QPointF& point, bool over) {
        if (!over) {
            QToolTip::hideText();
            return;
        }
        const QDate day = QDateTime::fromMSecsSinceEpoch(qint64(point.x())).date();
        const auto& perDay = shown->dailyMedianMs;
        for (std::size_t i = 0; i < perDay.size(); ++i) {
            if (perDay[i].first == day) {
                QToolTip::showText(QCursor::pos(), QCoreApplication::translate("ReactionChart", "%1\n中央値 %2\n正解 %3 問")
                                                       .arg(day.toString(QStringLiteral("yyyy/MM/dd")),
                                                            secondsText(perDay[i].second))
                                                       .arg(shown->dailyAnswers.at(i)));
            }
        }
    });
    auto* days = new QDateTimeAxis;
    days->setFormat(QStringLiteral("MM/dd"));
    auto* times = new QValueAxis;
    times->setRange(0, std::ceil(slowest + 0.5));
    times->setLabelFormat(QStringLiteral("%.1f"));
    if (!daily.empty()) {
        // Ticks on whole days, a dozen or so whatever the span: one a day over two weeks or
        // less, else one every so many weeks from a Monday, doubling as the span grows.
        QDate first = daily.front().first.addDays(-1);
        const QDate last = daily.back().first.addDays(1);
        constexpr qint64 kMostTicks = 14;
        qint64 step = 1;
        if (first.daysTo(last) > kMostTicks) {
            first = first.addDays(1 - first.dayOfWeek());
            for (step = 7; first.daysTo(last) > step * kMostTicks;)
                step *= 2;
        }
        const qint64 steps = (first.daysTo(last) + step - 1) / step;
        days->setRange(first.startOfDay(), first.addDays(steps * step).startOfDay());
        days->setTickCount(int(steps) + 1);
        days->setFormat(step >= 364 ? QStringLiteral("yyyy/MM/dd") : QStringLiteral("MM/dd"));
    }
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(days), static_cast<QAbstractAxis*>(times)})
        axis->setLabelsFont(m_font);
    m_chart->addAxis(days, Qt::AlignBottom);
    m_chart->addAxis(times, Qt::AlignLeft);
    for (QAbstractSeries* series : m_chart->series()) {
        series->attachAxis(days);
        series->attachAxis(times);
    }
    m_view->setAccessibleDescription(
        daily.empty() ? QCoreApplication::translate("ReactionChart", "選んだ期間には、時間の分かる正解がありません。")
                      : QCoreApplication::translate("ReactionChart", "正解した最初の答えの反応時間の中央値: %1 日分。最初の日 %2、最後の日 %3。")
                            .arg(daily.size())
                            .arg(secondsText(daily.front().second), secondsText(daily.back().second)));
}

}  // namespace tonarika
