#include "TrendPage.h"

// own
#include "ProgressChartView.h"

// Qt
#include <QCoreApplication>
#include <QChart>
#include <QDateTimeAxis>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolTip>
#include <QValueAxis>
#include <QVBoxLayout>

// std
#include <algorithm>

namespace tonarika {

namespace {

// Looked up when the page is built, in the language set then.
QStringList tableRows()
{
    return {
        QCoreApplication::translate("TrendPage", "練習した回数"),
        QCoreApplication::translate("TrendPage", "問題数"),
        QCoreApplication::translate("TrendPage", "ミス"),
        QCoreApplication::translate("TrendPage", "正解率"),
        QCoreApplication::translate("TrendPage", "最高の回（10問以上）"),
        QCoreApplication::translate("TrendPage", "直近7日の正解率"),
        QCoreApplication::translate("TrendPage", "その前の7日"),
        QCoreApplication::translate("TrendPage", "今日の問題数"),
    };
}

constexpr std::int64_t kDayMs = 24 * 3600 * 1000LL;
constexpr int kMarkerSize = 7;
constexpr int kChartMinimumHeight = 200;
constexpr int kPixelsPerTick = 90;
constexpr int kPixelsPerRateLabel = 24;
// The rate axis runs a little past 0 and 100, so that a point at either is drawn whole.
constexpr double kRateMargin = 5.0;

// The figures' table asks for the height of all its rows; with less, it scrolls.
class FiguresTable : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    QSize sizeHint() const override
    {
        return {QTableWidget::sizeHint().width(),
                horizontalHeader()->sizeHint().height() + verticalHeader()->length() + 2 * frameWidth()};
    }
};

// The chart's time axis shows local time; a record's wall-clock time goes where the
// same wall-clock time stands on it at today's offset from UTC.
std::int64_t zoneOffsetMs()
{
    static const std::int64_t offset = std::int64_t(QDateTime::currentDateTime().offsetFromUtc()) * 1000;
    return offset;
}

double chartX(std::int64_t when)
{
    return double(when - zoneOffsetMs());
}

QDateTime recordTime(std::int64_t when)
{
    return QDateTime::fromMSecsSinceEpoch(when, Qt::UTC);
}

// Labels that fit what is in view: days, months, or years.
QString axisFormat(std::int64_t spanMs)
{
    if (spanMs > 3 * 365 * kDayMs)
        return QStringLiteral("yyyy");
    if (spanMs > 90 * kDayMs)
        return QStringLiteral("yyyy/MM");
    return QStringLiteral("MM/dd");
}

}  // namespace

QColor TrendPage::modeColour(const QString& mode)
{
    return mode == QLatin1String("Easy") ? QColor(0x1F, 0x5F, 0xBF) : QColor(0xD0, 0x4A, 0x02);
}

TrendPage::TrendPage(QWidget* parent)
    : QWidget(parent)
{
    const QFont face = font();
    m_chart = new QChart;
    m_chart->setBackgroundVisible(false);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->legend()->setFont(face);
    // A mode's runs show a dot in the legend, its average a line, as they are drawn.
    m_chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    auto* days = new QDateTimeAxis;
    days->setFormat(QStringLiteral("MM/dd"));
    auto* rates = new QValueAxis;
    rates->setRange(-kRateMargin, 100 + kRateMargin);
    rates->setTickType(QValueAxis::TicksDynamic);
    rates->setTickAnchor(0);
    rates->setTickInterval(20);
    rates->setLabelFormat(QStringLiteral("%d"));
    rates->setTitleText(tr("正解率 (%)"));
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(days), static_cast<QAbstractAxis*>(rates)}) {
        axis->setLabelsFont(face);
        axis->setTitleFont(face);
    }
    m_chart->addAxis(days, Qt::AlignBottom);
    m_chart->addAxis(rates, Qt::AlignLeft);
    for (const QString& mode : kScoreModes) {
        auto* points = new QScatterSeries;
        points->setObjectName(QStringLiteral("points_") + mode);
        points->setName(mode);
        points->setColor(modeColour(mode));
        points->setBorderColor(modeColour(mode));
        points->setMarkerSize(kMarkerSize);
        auto* average = new QLineSeries;
        average->setObjectName(QStringLiteral("average_") + mode);
        average->setName(mode + tr("（10回平均）"));
        average->setPen(QPen(modeColour(mode), 2));
        for (QXYSeries* series : {static_cast<QXYSeries*>(points), static_cast<QXYSeries*>(average)}) {
            m_chart->addSeries(series);
            series->attachAxis(days);
            series->attachAxis(rates);
        }
        connect(points, &QScatterSeries::hovered, this,
                [this, mode](const QPointF& point, bool entered) { showToolTip(mode, point, entered); });
        m_points[mode] = points;
        m_averages[mode] = average;
        m_shown[mode] = {};
    }
    m_chartView = new ProgressChartView(m_chart);
    m_chartView->setObjectName(QStringLiteral("chart"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    // Tall enough for its axes' labels whole in a small window; the figures' table
    // scrolls rather than squeeze it.
    m_chartView->setMinimumSize(240, kChartMinimumHeight);
    m_chartView->setAccessibleName(tr("正解率の推移のグラフ"));

    m_redraw.setSingleShot(true);
    m_redraw.setInterval(0);
    connect(&m_redraw, &QTimer::timeout, this, &TrendPage::redraw);
    connect(days, &QDateTimeAxis::rangeChanged, &m_redraw, qOverload<>(&QTimer::start));
    // The ticks follow the room the plot has, however it came to change.
    connect(m_chart, &QChart::plotAreaChanged, &m_redraw, qOverload<>(&QTimer::start));

    m_empty = new QLabel;
    m_empty->setObjectName(QStringLiteral("emptyLog"));
    m_empty->setWordWrap(true);
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_stack = new QStackedWidget;
    m_stack->setObjectName(QStringLiteral("trendStack"));
    m_stack->addWidget(m_chartView);
    m_stack->addWidget(m_empty);

    m_table = new FiguresTable(int(tableRows().size()), int(kScoreModes.size()));
    m_table->setObjectName(QStringLiteral("figures"));
    m_table->setAccessibleName(tr("モードごとの成績"));
    m_table->setVerticalHeaderLabels(tableRows());
    // What each row compares: the weeks take every run, whatever it asked; the best run only
    // those that asked as the latest did, where the journal says so.
    m_table->verticalHeaderItem(4)->setToolTip(tr("10 問以上の回のうち、最後の回と同じ音の数・音色・音域で出題した回の最高"));
    for (const int row : {5, 6})
        m_table->verticalHeaderItem(row)->setToolTip(tr("音の数・音色・音域を問わず、すべての回の正解率"));
    m_table->setHorizontalHeaderLabels(kScoreModes);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setMinimumHeight(100);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        for (int column = 0; column < m_table->columnCount(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem);
    }

    // The chart and the table share the height; the player moves the line between them.
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("trendSplitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_stack);
    splitter->addWidget(m_table);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

void TrendPage::showSnapshot(std::shared_ptr<const ProgressSnapshot> snapshot, const std::vector<std::filesystem::path>& logs)
{
    const bool wholeBefore = !m_snapshot || m_chartView->showsWholeTime();
    m_snapshot = std::move(snapshot);
    const auto& records = m_snapshot->history.records;
    if (records.empty()) {
        QStringList places;
        for (const auto& log : logs)
            places << displayPath(log);
        m_empty->setText(tr("まだ記録がありません。\n\nTonarika は1回の練習が終わるたびに、"
                                        "スコアを次のファイルに書き込みます。\n%1\n\n"
                                        "最初の練習を終えると、ここに正解率の推移が表示されます。")
                             .arg(places.join(u'\n')));
        m_stack->setCurrentWidget(m_empty);
    } else {
        m_stack->setCurrentWidget(m_chartView);
        // From the midnight before the first run's day to the one after the last run's.
        const auto midnight = [](QDate day) {
            return QDateTime::fromMSecsSinceEpoch(qint64(chartX(QDateTime(day, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch())));
        };
        const QDateTime from = midnight(records.front().when.date().addDays(-1));
        const QDateTime to = midnight(records.back().when.date().addDays(2));
        m_chartView->setWholeTime(from, to);
        // A new run comes into view unless the player has zoomed or moved the time.
        if (wholeBefore)
            m_chartView->resetZoom();
    }
    fillTable();
    redraw();
}

void TrendPage::showJournal(const std::vector<JournalRun>& runs, std::map<QString, std::uint64_t> questionsToday)
{
    m_runs.emplace(runs);
    m_questionsToday = std::move(questionsToday);
    if (m_snapshot)
        fillTable();
}

void TrendPage::fillTable()
{
    const auto& records = m_snapshot->history.records;
    for (int column = 0; column < kScoreModes.size(); ++column) {
        const QString& mode = kScoreModes[column];
        const ModeSummary& summary = m_snapshot->summaries.at(mode);
        // The best of the runs that asked as the latest did, where the journal says what
        // that was; a 3-note run is no rival for a 12-note one.
        std::optional<ScoreRecord> best = summary.bestRun;
        std::optional<RunProfile> like;
        if (m_runs && !m_runs->empty()) {
            const auto latest = std::find_if(records.rbegin(), records.rend(), [&mode](const ScoreRecord& r) { return r.mode == mode; });
            if (latest != records.rend())
                like = m_runs->profileOf(*latest);
            if (like)
                best = bestRunAlike(records, *m_runs, mode, *like);
        }
        const QString bestText = !best ? QStringLiteral("―")
                                 : like ? tr("%1（%2、%3）").arg(percentText(best->rate()), dateTimeText(best->when), profileText(*like))
                                        : tr("%1（%2）").arg(percentText(best->rate()), dateTimeText(best->when));
        const auto today = m_questionsToday.find(mode);
        const std::uint64_t questionsToday
            = m_runs && !m_runs->empty() ? (today != m_questionsToday.end() ? today->second : 0) : summary.questionsToday;
        const QStringList values{
            QString::number(summary.runs),    QString::number(summary.questions), QString::number(summary.misses),
            percentText(summary.rate),        bestText,                           rateOfRunsText(summary.lastWeek),
            rateOfRunsText(summary.weekBefore), QString::number(questionsToday),
        };
        for (int row = 0; row < values.size(); ++row)
            m_table->item(row, column)->setText(values[row]);
    }
}

std::pair<std::int64_t, std::int64_t> TrendPage::timeInView() const
{
    const auto* days = qobject_cast<QDateTimeAxis*>(m_chart->axes(Qt::Horizontal).first());
    return {days->min().toMSecsSinceEpoch() + zoneOffsetMs(), days->max().toMSecsSinceEpoch() + zoneOffsetMs()};
}

void TrendPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_redraw.start();
}

void TrendPage::redraw()
{
    if (!m_snapshot)
        return;
    const auto [from, to] = timeInView();
    auto* days = qobject_cast<QDateTimeAxis*>(m_chart->axes(Qt::Horizontal).first());
    days->setFormat(axisFormat(to - from));
    // Rates every 20 where there is height for six labels, every 50 where not.
    if (auto* rates = qobject_cast<QValueAxis*>(m_chart->axes(Qt::Vertical).first()))
        rates->setTickInterval(m_chart->plotArea().height() >= kPixelsPerRateLabel * 6 ? 20 : 50);
    // A tick a day up to eight, and no more than the width holds labels side by side.
    const int room = std::max(2, m_chartView->width() / kPixelsPerTick);
    days->setTickCount(int(std::clamp<std::int64_t>((to - from) / kDayMs + 1, 2, std::min(8, room))));
    for (const QString& mode : kScoreModes) {
        auto& shown = m_shown[mode];
        shown = chartPoints(m_snapshot->series.at(mode), from, to, kMaxPoints);
        QList<QPointF> points, line;
        points.reserve(qsizetype(shown.size()));
        line.reserve(qsizetype(shown.size()));
        for (const ChartPoint& point : shown) {
            points.append(QPointF(chartX(point.when), point.rate));
            line.append(QPointF(chartX(point.when), point.average));
        }
        m_points[mode]->replace(points);
        m_averages[mode]->replace(line);
    }
    describeChart();
}

void TrendPage::describeChart()
{
    const auto [from, to] = timeInView();
    QStringList modes;
    for (const QString& mode : kScoreModes)
        modes << chartSummary(mode, m_snapshot->series.at(mode), from, to);
    m_chartView->setAccessibleDescription(modes.join(u'\n'));
}

void TrendPage::showToolTip(const QString& mode, const QPointF& point, bool entered)
{
    const auto& shown = m_shown[mode];
    if (!entered || shown.empty()) {
        QToolTip::hideText();
        return;
    }
    const ChartPoint& nearest = *std::min_element(shown.begin(), shown.end(), [&point](const ChartPoint& a, const ChartPoint& b) {
        return std::abs(chartX(a.when) - point.x()) < std::abs(chartX(b.when) - point.x());
    });
    const ModeSeries& series = m_snapshot->series.at(mode);
    const std::size_t runs = nearest.last - nearest.first;
    const QString when = runs == 1 ? tr("%1　%2").arg(dateTimeText(recordTime(nearest.when)), mode)
                                   : tr("%1 〜 %2　%3（%4 回）")
                                         .arg(recordTime(series.when(nearest.first)).toString(QStringLiteral("yyyy/MM/dd")),
                                              recordTime(nearest.when).toString(QStringLiteral("yyyy/MM/dd")), mode)
                                         .arg(runs);
    // A run the journal knows says what it asked.
    QString asked;
    if (runs == 1 && m_runs) {
        const ScoreRecord record{recordTime(nearest.when), mode, std::uint32_t(series.misses(nearest.first, nearest.last)),
                                 std::uint32_t(series.questions(nearest.first, nearest.last))};
        if (const auto profile = m_runs->profileOf(record))
            asked = QStringLiteral("\n") + profileText(*profile);
    }
    QToolTip::showText(QCursor::pos(), tr("%1%5\nミス %2/%3 回　正解率 %4")
                                           .arg(when)
                                           .arg(series.misses(nearest.first, nearest.last))
                                           .arg(series.questions(nearest.first, nearest.last))
                                           .arg(percentText(nearest.rate))
                                           .arg(asked));
}

}  // namespace tonarika
