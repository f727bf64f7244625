#include "DailyPage.h"

// own
#include "PageParts.h"
#include "ProgressChartView.h"

// Qt
#include <QCoreApplication>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

// std
#include <algorithm>
#include <cmath>

namespace tonarika {

namespace {

const QDate kEpoch(1970, 1, 1);

QDate dateOf(std::int64_t day)
{
    return kEpoch.addDays(day);
}

QString hoursText(std::int64_t ms)
{
    return QLocale().toString(double(ms) / 3'600'000.0, 'f', 1) + QCoreApplication::translate("DailyPage", " 時間");
}

// The calendar's shade: white for none, deeper green as the minutes near the goal (or
// half an hour without one).
QColor shade(std::int64_t ms, int goalMinutes)
{
    if (ms <= 0)
        return QColor(0xF4, 0xF4, 0xF4);
    const double full = double(goalMinutes > 0 ? goalMinutes : 30) * 60'000.0;
    const double share = std::clamp(double(ms) / full, 0.15, 1.0);
    return QColor(int(230 - share * 190), int(245 - share * 105), int(230 - share * 190));
}

QChartView* chartView(QChart* chart, const QString& name, const QString& accessible)
{
    auto* view = new QChartView(chart);
    view->setObjectName(name);
    view->setAccessibleName(accessible);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(300);
    return view;
}

}  // namespace

DailyPage::DailyPage(Today today, QWidget* parent)
    : QWidget(parent)
    , m_today(std::move(today))
{
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("dailySummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_summary->setFocusPolicy(Qt::StrongFocus);

    // Weeks across, Monday to Sunday down: one cell a day, named for screen readers.
    m_calendar = new QTableWidget(7, kWeeks);
    m_calendar->setObjectName(QStringLiteral("calendar"));
    m_calendar->setAccessibleName(tr("直近 16 週間の練習のカレンダー"));
    m_calendar->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_calendar->setSelectionMode(QAbstractItemView::SingleSelection);
    m_calendar->horizontalHeader()->hide();
    m_calendar->setVerticalHeaderLabels({tr("月"), tr("火"), tr("水"), tr("木"),
                                         tr("金"), tr("土"), tr("日")});
    m_calendar->horizontalHeader()->setMinimumSectionSize(14);
    m_calendar->horizontalHeader()->setDefaultSectionSize(18);
    m_calendar->verticalHeader()->setDefaultSectionSize(16);
    m_calendar->setShowGrid(true);
    m_calendar->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_calendar->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    m_calendar->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_calendar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_learnedChart = new QChart;
    m_learnedChart->setTitle(tr("覚えた音と練習時間"));
    m_firstChart = new QChart;
    m_firstChart->setTitle(tr("朝一番: その日の最初の 12 問と 1 日全体の正解率"));
    for (QChart* chart : {m_learnedChart, m_firstChart}) {
        chart->setBackgroundVisible(false);
        chart->setTitleFont(font());
        chart->legend()->setFont(font());
        chart->legend()->setAlignment(Qt::AlignBottom);
    }

    auto* content = new QWidget;
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->addWidget(m_summary);
    contentLayout->addWidget(m_calendar);
    contentLayout->addWidget(chartView(m_learnedChart, QStringLiteral("learnedChart"),
                                       tr("覚えた音の数と練習時間のグラフ。参考として成人の研究の平均を示します")));
    auto* reference = new QLabel(tr("参考の点は成人の研究（Wong ら 2025）の平均です: 8 週間、21.4 時間の練習で"
                                                "12 音のうち 7.08 音。目安であって、約束ではありません。"));
    reference->setObjectName(QStringLiteral("studyReference"));
    reference->setWordWrap(true);
    contentLayout->addWidget(reference);
    contentLayout->addWidget(chartView(m_firstChart, QStringLiteral("firstOfDayChart"),
                                       tr("朝一番の正解率と 1 日全体の正解率のグラフ")));
    m_empty = emptyNote(tr("練習の記録はまだありません。\nゲームで問題に答えると、毎日の練習時間がここに出ます。"),
                        QStringLiteral("noDays"));
    m_stack = pageOrEmpty(scrolling(content), m_empty);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_stack, 1);
}

void DailyPage::showJournal(std::shared_ptr<const JournalSnapshot> snapshot)
{
    m_snapshot = std::move(snapshot);
    redraw();
}

void DailyPage::setGoal(int minutes)
{
    if (minutes == m_goal)
        return;
    m_goal = minutes;
    redraw();
}

void DailyPage::redraw()
{
    const std::int64_t today = kEpoch.daysTo(m_today());
    static const std::vector<Trial> noRows;
    static const std::vector<PracticeMoment> noPresses;
    const auto& rows = m_snapshot && m_snapshot->trials ? *m_snapshot->trials : noRows;
    const auto& presses = m_snapshot && m_snapshot->presses ? *m_snapshot->presses : noPresses;
    m_overview = dailyOverview(rows, presses, today, m_goal);
    m_stack->setCurrentWidget(m_overview.days.empty() ? static_cast<QWidget*>(m_empty) : m_stack->widget(0));
    const QString streak = m_goal > 0 ? tr("目標（%1 分）を達成した日").arg(m_goal) : tr("練習した日");
    const QString summary = tr("%1の連続: %2 日（最長 %3 日）\n練習時間: 合計 %4、この 7 日間 %5")
                                .arg(streak)
                                .arg(m_overview.streaks.current)
                                .arg(m_overview.streaks.longest)
                                .arg(hoursText(m_overview.totalMs), hoursText(m_overview.weekMs));
    m_summary->setText(summary);
    m_summary->setAccessibleName(summary);
    fillCalendar(today);
    drawLearned();
    drawFirstOfDay();
    emit redrawn();
}

void DailyPage::fillCalendar(std::int64_t today)
{
    // The last column holds this week; its Monday is dayOfWeek() − 1 days back.
    const std::int64_t lastMonday = today - (dateOf(today).dayOfWeek() - 1);
    const std::int64_t firstMonday = lastMonday - 7 * (kWeeks - 1);
    for (int week = 0; week < kWeeks; ++week) {
        for (int weekday = 0; weekday < 7; ++weekday) {
            const std::int64_t day = firstMonday + 7 * week + weekday;
            auto* cell = new QTableWidgetItem;
            if (day > today) {
                cell->setFlags(Qt::NoItemFlags);
            } else {
                const auto figure = m_overview.days.find(day);
                const std::int64_t ms = figure != m_overview.days.end() ? figure->second.practisedMs : 0;
                const bool met = m_goal > 0 && wholeMinutes(ms) >= m_goal;
                cell->setBackground(shade(ms, m_goal));
                // The goal met: a mark in the cell, for the eye and in its name.
                if (met)
                    cell->setText(QStringLiteral("✓"));
                cell->setTextAlignment(Qt::AlignCenter);
                const QDate date = dateOf(day);
                const QString name = tr("%1月%2日: %3 分%4")
                                         .arg(date.month())
                                         .arg(date.day())
                                         .arg(wholeMinutes(ms))
                                         .arg(met ? tr("（目標達成）") : QString());
                cell->setData(Qt::AccessibleTextRole, name);
                cell->setToolTip(name);
            }
            m_calendar->setItem(weekday, week, cell);
        }
    }
    m_calendar->resizeColumnsToContents();
}

void DailyPage::drawLearned()
{
    clearChart(*m_learnedChart);
    auto* easy = new QLineSeries;
    easy->setName(tr("Easy で覚えた音"));
    auto* hard = new QLineSeries;
    hard->setName(tr("Hard で覚えた音"));
    double mostHours = kStudyHours;
    for (const LearnedAtHours& point : m_overview.learned) {
        easy->append(point.hours, point.easy);
        hard->append(point.hours, point.hard);
        mostHours = std::max(mostHours, point.hours);
    }
    auto* study = new QScatterSeries;
    study->setName(tr("参考（約束ではありません）"));
    study->append(kStudyHours, kStudyNotes);
    study->setMarkerSize(10);
    auto* hoursAxis = new QValueAxis;
    hoursAxis->setTitleText(tr("練習時間（時間）"));
    hoursAxis->setRange(0, std::ceil(mostHours * 1.05));
    hoursAxis->applyNiceNumbers();
    hoursAxis->setLabelFormat(QStringLiteral("%.0f"));
    auto* notesAxis = new QValueAxis;
    notesAxis->setTitleText(tr("覚えた音"));
    notesAxis->setRange(0, kNoteCount);
    notesAxis->setTickCount(5);
    notesAxis->setLabelFormat(QStringLiteral("%d"));
    m_learnedChart->addAxis(hoursAxis, Qt::AlignBottom);
    m_learnedChart->addAxis(notesAxis, Qt::AlignLeft);
    for (QXYSeries* series : std::initializer_list<QXYSeries*>{easy, hard, study}) {
        m_learnedChart->addSeries(series);
        series->attachAxis(hoursAxis);
        series->attachAxis(notesAxis);
    }
}

void DailyPage::drawFirstOfDay()
{
    clearChart(*m_firstChart);
    auto* first = new QLineSeries;
    first->setName(tr("最初の 12 問"));
    auto* whole = new QLineSeries;
    whole->setName(tr("1 日全体"));
    QDateTime earliest;
    QDateTime latest;
    for (const auto& [day, figure] : m_overview.days) {
        if (figure.questions == 0)
            continue;
        const QDateTime at(dateOf(day), QTime(12, 0));
        earliest = earliest.isValid() ? std::min(earliest, at) : at;
        latest = latest.isValid() ? std::max(latest, at) : at;
        const auto x = qreal(at.toMSecsSinceEpoch());
        first->append(x, 100.0 * figure.firstRight / figure.firstQuestions);
        whole->append(x, 100.0 * figure.right / figure.questions);
    }
    for (QLineSeries* series : {first, whole})
        series->setPointsVisible(true);
    auto* dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("MM/dd"));
    if (earliest.isValid())
        dates->setRange(earliest.addDays(-1), latest.addDays(1));
    auto* rate = new QValueAxis;
    rate->setRange(0, 100);
    rate->setLabelFormat(QStringLiteral("%d %%"));
    m_firstChart->addAxis(dates, Qt::AlignBottom);
    m_firstChart->addAxis(rate, Qt::AlignLeft);
    for (QLineSeries* series : {first, whole}) {
        m_firstChart->addSeries(series);
        series->attachAxis(dates);
        series->attachAxis(rate);
    }
}

}  // namespace tonarika
