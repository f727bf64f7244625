#include "ProgressWindow.h"

// own
#include "Progress.h"
#include "ProgressChartView.h"

// Qt
#include <QChart>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolTip>
#include <QValueAxis>
#include <QVBoxLayout>

namespace tonarika {

namespace {

const QStringList kModes{QStringLiteral("Easy"), QStringLiteral("Hard")};
const QStringList kTableRows{
    QStringLiteral("練習した回数"), QStringLiteral("問題数"),        QStringLiteral("ミス"),
    QStringLiteral("正解率"),       QStringLiteral("最高の回（10問以上）"), QStringLiteral("直近7日の正解率"),
    QStringLiteral("その前の7日"),  QStringLiteral("今日の問題数"),
};

QString percent(std::optional<double> rate)
{
    return rate ? QLocale().toString(*rate, 'f', 1) + QStringLiteral(" %") : QStringLiteral("―");
}

// The chart's time axis shows local time; a record's wall-clock time goes where the
// same wall-clock time stands on it today's offset from UTC.
double chartX(const QDateTime& when)
{
    static const qint64 offset = qint64(QDateTime::currentDateTime().offsetFromUtc()) * 1000;
    return double(when.toMSecsSinceEpoch() - offset);
}

QString whenText(const QDateTime& when)
{
    return QLocale().toString(when.date(), QLocale::ShortFormat) + u' ' + when.toString(QStringLiteral("HH:mm"));
}

}  // namespace

QColor ProgressWindow::modeColour(const QString& mode)
{
    return mode == QLatin1String("Easy") ? QColor(0x1F, 0x5F, 0xBF) : QColor(0xD0, 0x4A, 0x02);
}

ProgressWindow::ProgressWindow(std::vector<std::filesystem::path> logs, ScoreLogReader reader, Today today,
                               QWidget* parent)
    : QMainWindow(parent)
    , m_logs(std::move(logs))
    , m_reader(std::move(reader))
    , m_today(std::move(today))
{
    setWindowTitle(QStringLiteral("Tonarika スコアの推移"));
    // The game's look: its window colour, and its face for Japanese text.
    QPalette look = palette();
    look.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xFF));
    setPalette(look);
    QFont face(QStringLiteral("ＭＳ Ｐゴシック"));
    face.setPixelSize(15);
    setFont(face);

    m_chart = new QChart;
    m_chart->setBackgroundVisible(false);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    auto* days = new QDateTimeAxis;
    days->setFormat(QStringLiteral("MM/dd"));
    days->setTitleText(QStringLiteral("日付"));
    auto* rates = new QValueAxis;
    rates->setRange(0, 100);
    rates->setLabelFormat(QStringLiteral("%d"));
    rates->setTitleText(QStringLiteral("正解率 (%)"));
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(days), static_cast<QAbstractAxis*>(rates)}) {
        axis->setLabelsFont(face);
        axis->setTitleFont(face);
    }
    m_chart->legend()->setFont(face);
    m_chart->addAxis(days, Qt::AlignBottom);
    m_chart->addAxis(rates, Qt::AlignLeft);
    for (const QString& mode : kModes) {
        auto* points = new QScatterSeries;
        points->setObjectName(QStringLiteral("points_") + mode);
        points->setName(mode);
        points->setColor(modeColour(mode));
        points->setBorderColor(modeColour(mode));
        points->setMarkerSize(7);
        auto* average = new QLineSeries;
        average->setObjectName(QStringLiteral("average_") + mode);
        average->setName(mode + QStringLiteral("（10回平均）"));
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
    }
    m_chartView = new ProgressChartView(m_chart);
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setMinimumSize(520, 320);

    m_empty = new QLabel;
    m_empty->setObjectName(QStringLiteral("emptyLog"));
    m_empty->setWordWrap(true);
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_stack = new QStackedWidget;
    m_stack->addWidget(m_empty);
    m_stack->addWidget(m_chartView);

    auto* side = new QVBoxLayout;
    for (const QString& mode : kModes) {
        auto* title = new QLabel(mode);
        auto* table = new QTableWidget(int(kTableRows.size()), 1);
        table->setObjectName(QStringLiteral("table_") + mode);
        table->setAccessibleName(mode);
        table->setVerticalHeaderLabels(kTableRows);
        table->horizontalHeader()->hide();
        table->horizontalHeader()->setStretchLastSection(true);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setMinimumWidth(400);
        // Every row in sight: the table is short, and scrolling it would hide figures.
        table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->setFixedHeight(table->verticalHeader()->length() + 2 * table->frameWidth());
        title->setBuddy(table);
        side->addWidget(title);
        side->addWidget(table);
        m_tables[mode] = table;
    }
    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(m_stack, 1);
    layout->addLayout(side);
    setCentralWidget(central);

    // A label, not a passing message, so that a screen reader finds it too.
    m_unreadable = new QLabel;
    m_unreadable->setObjectName(QStringLiteral("unreadableLines"));
    statusBar()->addPermanentWidget(m_unreadable);

    // Several writes of one record come close together: read once they have settled.
    m_settle.setSingleShot(true);
    m_settle.setInterval(200);
    connect(&m_settle, &QTimer::timeout, this, &ProgressWindow::reload);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    reload();
}

void ProgressWindow::reload()
{
    m_history = m_reader.read(m_logs);
    showHistory();
    watchLogs();
}

void ProgressWindow::watchLogs()
{
    // A log that is replaced or created later is picked up through its folder, or
    // through the nearest folder above that exists while its own does not yet.
    for (const auto& log : m_logs) {
        std::filesystem::path folder = log.parent_path();
        std::error_code error;
        while (!folder.empty() && folder != folder.root_path() && !std::filesystem::is_directory(folder, error))
            folder = folder.parent_path();
        for (const QString& path : {QString::fromStdString(log.string()), QString::fromStdString(folder.string())}) {
            if (!m_watcher.files().contains(path) && !m_watcher.directories().contains(path) && QFileInfo::exists(path))
                m_watcher.addPath(path);
        }
    }
}

void ProgressWindow::showHistory()
{
    m_unreadable->setText(QStringLiteral("読めない行: %1").arg(m_history.unreadableLines));
    if (m_history.records.empty()) {
        QStringList places;
        for (const auto& log : m_logs)
            places << QString::fromStdString(log.string());
        m_empty->setText(QStringLiteral("まだ記録がありません。\n\nTonarika は1回の練習が終わるたびに、"
                                        "スコアを次のファイルに書き込みます。\n%1\n\n"
                                        "最初の練習を終えると、ここに正解率の推移が表示されます。")
                             .arg(places.join(u'\n')));
        m_stack->setCurrentWidget(m_empty);
    } else {
        m_stack->setCurrentWidget(m_chartView);
    }

    m_runs.clear();
    for (const ScoreRecord& record : m_history.records)
        m_runs[record.mode].push_back(record);
    for (const QString& mode : kModes) {
        const auto& runs = m_runs[mode];
        std::vector<double> rates;
        QList<QPointF> points;
        for (const ScoreRecord& run : runs) {
            rates.push_back(run.rate());
            points.append(QPointF(chartX(run.when), run.rate()));
        }
        m_points[mode]->replace(points);
        const auto averages = movingAverage(rates);
        QList<QPointF> line;
        for (size_t i = 0; i < averages.size(); ++i)
            line.append(QPointF(points[qsizetype(i)].x(), averages[i]));
        m_averages[mode]->replace(line);
        fillTable(m_tables[mode], mode);
    }
    if (!m_history.records.empty()) {
        auto* days = qobject_cast<QDateTimeAxis*>(m_chart->axes(Qt::Horizontal).first());
        const QDate first = m_history.records.front().when.date().addDays(-1);
        const QDate last = m_history.records.back().when.date().addDays(1);
        days->setRange(first.startOfDay(), last.endOfDay());
        days->setTickCount(int(std::clamp<qint64>(first.daysTo(last) + 1, 2, 8)));
    }
}

void ProgressWindow::fillTable(QTableWidget* table, const QString& mode)
{
    const ModeSummary summary = summarize(m_history.records, mode, m_today());
    const QString best = summary.bestRun
        ? percent(summary.bestRun->rate()) + QStringLiteral("（%1）").arg(whenText(summary.bestRun->when))
        : QStringLiteral("―");
    const QStringList values{
        QString::number(summary.runs),           QString::number(summary.questions), QString::number(summary.misses),
        percent(summary.rate),                   best,                               percent(summary.lastWeekRate),
        percent(summary.weekBeforeRate),         QString::number(summary.questionsToday),
    };
    for (int row = 0; row < values.size(); ++row)
        table->setItem(row, 0, new QTableWidgetItem(values[row]));
}

void ProgressWindow::showToolTip(const QString& mode, const QPointF& point, bool entered)
{
    if (!entered) {
        QToolTip::hideText();
        return;
    }
    const auto& runs = m_runs[mode];
    const auto nearest = std::min_element(runs.begin(), runs.end(), [&point](const ScoreRecord& a, const ScoreRecord& b) {
        return std::abs(chartX(a.when) - point.x()) < std::abs(chartX(b.when) - point.x());
    });
    if (nearest == runs.end())
        return;
    QToolTip::showText(QCursor::pos(), QStringLiteral("%1　%2\nミス %3/%4 回　正解率 %5")
                                           .arg(whenText(nearest->when), nearest->mode)
                                           .arg(nearest->misses)
                                           .arg(nearest->questions)
                                           .arg(percent(nearest->rate())));
}

}  // namespace tonarika
