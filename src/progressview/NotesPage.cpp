#include "NotesPage.h"

// own
#include "JournalFaultText.h"
#include "Progress.h"
#include "ScoreLogReader.h"

// Qt
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace tonarika {

namespace {

const QColor kShareColour(0x1F, 0x5F, 0xBF);

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString noteName(int note)
{
    return toQString(kNoteTable.at(size_t(note)).noteName);
}

QString seconds(std::optional<double> ms)
{
    return ms ? QLocale().toString(*ms / 1000.0, 'f', 1) + QStringLiteral(" 秒") : QStringLiteral("―");
}

// A share's colour: white for none, the chart's blue for all of a row.
QColor shareColour(double share)
{
    const auto mix = [share](int full) { return int(255 - (255 - full) * share); };
    return QColor(mix(kShareColour.red()), mix(kShareColour.green()), mix(kShareColour.blue()));
}

QTableWidget* makeTable(const QString& name, const QString& accessibleName, int rows, int columns)
{
    auto* table = new QTableWidget(rows, columns);
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // As large as all its cells: the page scrolls, not the table.
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            table->setItem(row, column, new QTableWidgetItem);
    }
    return table;
}

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

}  // namespace

NotesPage::NotesPage(Today today, QWidget* parent)
    : QWidget(parent)
    , m_today(std::move(today))
{
    m_period = new QComboBox;
    m_period->setObjectName(QStringLiteral("period"));
    m_period->setAccessibleName(QStringLiteral("期間"));
    m_period->addItems({QStringLiteral("今日"), QStringLiteral("直近7日"), QStringLiteral("直近30日"), QStringLiteral("すべて")});
    m_period->setCurrentIndex(int(Period::All));
    m_mode = new QComboBox;
    m_mode->setObjectName(QStringLiteral("mode"));
    m_mode->setAccessibleName(QStringLiteral("モード"));
    m_mode->addItems({QStringLiteral("Easy"), QStringLiteral("Hard"), QStringLiteral("Easy と Hard")});
    m_mode->setCurrentIndex(int(ModeChoice::Both));
    m_timbre = new QComboBox;
    m_timbre->setObjectName(QStringLiteral("timbre"));
    m_timbre->setAccessibleName(QStringLiteral("音色"));
    m_timbre->addItem(QStringLiteral("すべて"));
    for (const auto& row : kTimbreTable)
        m_timbre->addItem(toQString(row.name));
    m_headline = new QLabel;
    m_headline->setObjectName(QStringLiteral("learnedHeadline"));
    QFont large = m_headline->font();
    large.setPixelSize(20);
    m_headline->setFont(large);
    m_acrossHeadline = new QLabel;
    m_acrossHeadline->setObjectName(QStringLiteral("learnedAcrossHeadline"));
    m_acrossHeadline->setToolTip(QStringLiteral("覚えた音のうち、直近20問が3つ以上の音色と2つ以上の音域にわたるもの"));
    auto* choices = new QHBoxLayout;
    choices->addWidget(m_period);
    choices->addWidget(m_mode);
    choices->addWidget(m_timbre);
    choices->addStretch(1);
    choices->addWidget(m_headline);
    choices->addWidget(m_acrossHeadline);

    m_notes = makeTable(QStringLiteral("notesTable"), QStringLiteral("音ごとの成績"), kNoteCount, 6);
    m_notes->setHorizontalHeaderLabels({QStringLiteral("問題数"), QStringLiteral("最初の答えの正解率"),
                                        QStringLiteral("反応時間（中央値）"), QStringLiteral("覚えた"),
                                        QStringLiteral("音色の数"), QStringLiteral("音域の数")});
    m_confusion = makeTable(QStringLiteral("confusionTable"), QStringLiteral("どの音と取り違えたか（行: 出題、列: 答え）"),
                            kNoteCount, kNoteCount);
    QStringList names;
    for (const int note : kKeyboardOrder)
        names << noteName(note);
    m_notes->setVerticalHeaderLabels(names);
    m_confusion->setVerticalHeaderLabels(names);
    // Narrow columns: a black key's other name on a line of its own.
    QStringList columnNames;
    for (const QString& name : names)
        columnNames << QString(name).replace(u'(', QStringLiteral("\n("));
    m_confusion->setHorizontalHeaderLabels(columnNames);
    m_figures = new QLabel;
    m_figures->setObjectName(QStringLiteral("noteFigures"));
    m_figures->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_chart = new QChart;
    m_chart->setBackgroundVisible(false);
    m_chart->legend()->hide();
    m_chart->setTitle(QStringLiteral("正解した最初の答えの反応時間（日ごとの中央値、秒）"));
    m_chart->setTitleFont(font());
    m_chartView = new QChartView(m_chart);
    m_chartView->setObjectName(QStringLiteral("reactionChart"));
    m_chartView->setAccessibleName(QStringLiteral("反応時間の推移のグラフ"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setMinimumHeight(220);

    auto* content = new QWidget;
    auto* top = new QHBoxLayout;
    top->addWidget(m_notes, 0, Qt::AlignTop);
    top->addWidget(m_figures, 0, Qt::AlignTop);
    top->addStretch(1);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->addLayout(top);
    contentLayout->addWidget(m_confusion);
    contentLayout->addWidget(m_chartView);
    // However small the window, every figure can be scrolled to.
    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    m_empty = new QLabel;
    m_empty->setObjectName(QStringLiteral("emptyJournal"));
    m_empty->setWordWrap(true);
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_stack = new QStackedWidget;
    m_stack->addWidget(scroll);
    m_stack->addWidget(m_empty);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(m_stack, 1);
    connect(m_period, &QComboBox::currentIndexChanged, this, &NotesPage::refresh);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &NotesPage::refresh);
    connect(m_timbre, &QComboBox::currentIndexChanged, this, &NotesPage::refresh);
}

Period NotesPage::period() const
{
    return Period(m_period->currentIndex());
}

ModeChoice NotesPage::mode() const
{
    return ModeChoice(m_mode->currentIndex());
}

std::optional<Timbre> NotesPage::timbre() const
{
    // The first item is every timbre.
    const int index = m_timbre->currentIndex() - 1;
    return index >= 0 ? std::optional<Timbre>(kTimbreTable.at(std::size_t(index)).timbre) : std::nullopt;
}

void NotesPage::choose(Period period, ModeChoice mode)
{
    {
        // One refresh for both choices.
        const QSignalBlocker periodQuiet(m_period), modeQuiet(m_mode);
        m_period->setCurrentIndex(int(period));
        m_mode->setCurrentIndex(int(mode));
    }
    refresh();
}

void NotesPage::showTrials(std::shared_ptr<const std::vector<TrialRow>> trials, const std::filesystem::path& journal,
                           const std::optional<JournalFault>& fault)
{
    // A reading of the score logs alone brings the same rows: nothing to work out again,
    // unless the day has turned.
    const QDate today = m_today();
    if (m_trials && trials == m_trials && today == m_shownOn && fault == m_fault)
        return;
    m_shownOn = today;
    m_trials = std::move(trials);
    m_fault = fault;
    if ((!m_trials || m_trials->empty()) && fault) {
        m_empty->setText(QStringLiteral("問題の記録を読めませんでした。\n%1\n\n%2")
                             .arg(displayPath(journal), journalFaultText(*fault)));
        m_stack->setCurrentWidget(m_empty);
    } else if (!m_trials || m_trials->empty()) {
        m_empty->setText(QStringLiteral("まだ問題の記録がありません。\n\nTonarika は問題に答えるたびに、その記録を"
                                        "次のファイルに残します。\n%1\n\n練習するにつれて、ここに音ごとの成績が表示されます。")
                             .arg(displayPath(journal)));
        m_stack->setCurrentWidget(m_empty);
    } else {
        m_stack->setCurrentIndex(0);
    }
    refresh();
}

void NotesPage::refresh()
{
    static const std::vector<TrialRow> none;
    const auto& trials = m_trials ? *m_trials : none;
    m_statistics = noteStatistics(selectTrials(trials, period(), mode(), m_today(), timbre()));
    m_headline->setText(QStringLiteral("覚えた音: %1/12").arg(m_statistics.learned));
    // Beyond one sound is a matter of every timbre, whichever is shown.
    const int across = timbre() ? noteStatistics(selectTrials(trials, period(), mode(), m_today())).learnedAcross
                                : m_statistics.learnedAcross;
    m_acrossHeadline->setText(QStringLiteral("音色・音域を問わず: %1/12").arg(across));
    fillNotes();
    fillConfusion();
    fillFigures();
    drawReactionTimes();
}

void NotesPage::fillNotes()
{
    for (int row = 0; row < kNoteCount; ++row) {
        const NoteFigures& note = m_statistics.notes[size_t(kKeyboardOrder[size_t(row)])];
        const QStringList values{QString::number(note.questions), percentText(note.rightRate), seconds(note.medianMs),
                                 note.learned ? QStringLiteral("覚えた") : QString(), QString::number(note.timbres),
                                 QString::number(note.octaves)};
        for (int column = 0; column < values.size(); ++column)
            m_notes->item(row, column)->setText(values[column]);
    }
}

void NotesPage::fillConfusion()
{
    for (int row = 0; row < kNoteCount; ++row) {
        const int asked = kKeyboardOrder[size_t(row)];
        const auto& answers = m_statistics.confusion[size_t(asked)];
        int total = 0;
        for (const int count : answers)
            total += count;
        for (int column = 0; column < kNoteCount; ++column) {
            const int answered = kKeyboardOrder[size_t(column)];
            const int count = answers[size_t(answered)];
            const double share = total > 0 ? double(count) / total : 0.0;
            const int percent = int(std::lround(share * 100));
            QTableWidgetItem* cell = m_confusion->item(row, column);
            cell->setText(count > 0 ? QStringLiteral("%1\n%2 %").arg(count).arg(percent) : QString());
            cell->setTextAlignment(Qt::AlignCenter);
            cell->setBackground(shareColour(share));
            cell->setForeground(share > 0.5 ? QColor(Qt::white) : QColor(Qt::black));
            // What a screen reader reads of the cell, the empty ones too.
            cell->setData(Qt::AccessibleTextRole, QStringLiteral("%1 → %2: %3 回 (%4 %)")
                                                      .arg(noteName(asked), noteName(answered))
                                                      .arg(count)
                                                      .arg(percent));
        }
    }
    // Columns of one width, so that the colours compare at a glance.
    m_confusion->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_confusion->resizeColumnsToContents();
    int widest = 0;
    for (int column = 0; column < kNoteCount; ++column)
        widest = std::max(widest, m_confusion->columnWidth(column));
    for (int column = 0; column < kNoteCount; ++column)
        m_confusion->setColumnWidth(column, widest);
}

void NotesPage::fillFigures()
{
    const auto& s = m_statistics;
    m_figures->setText(QStringLiteral("白鍵: 正解率 %1、反応時間 %2\n黒鍵: 正解率 %3、反応時間 %4\n"
                                      "はずれのうち半音違い: %5\nはずれの平均のずれ: %6")
                           .arg(percentText(s.white.rightRate), seconds(s.white.medianMs), percentText(s.black.rightRate),
                                seconds(s.black.medianMs), percentText(s.semitoneShare),
                                s.meanErrorSemitones ? QLocale().toString(*s.meanErrorSemitones, 'f', 1) + QStringLiteral(" 半音")
                                                     : QStringLiteral("―")));
}

void NotesPage::drawReactionTimes()
{
    // The series go with removeAllSeries(); the axes only come back to us.
    m_chart->removeAllSeries();
    for (QAbstractAxis* axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
    auto* line = new QLineSeries;
    auto* points = new QScatterSeries;
    points->setMarkerSize(7);
    for (QXYSeries* series : {static_cast<QXYSeries*>(line), static_cast<QXYSeries*>(points)})
        series->setColor(kShareColour);
    double slowest = 1.0;
    for (const auto& [day, ms] : m_statistics.dailyMedianMs) {
        const QPointF point(double(day.startOfDay().toMSecsSinceEpoch()), ms / 1000.0);
        line->append(point);
        points->append(point);
        slowest = std::max(slowest, ms / 1000.0);
    }
    m_chart->addSeries(line);
    m_chart->addSeries(points);
    auto* days = new QDateTimeAxis;
    days->setFormat(QStringLiteral("MM/dd"));
    auto* times = new QValueAxis;
    times->setRange(0, std::ceil(slowest + 0.5));
    times->setLabelFormat(QStringLiteral("%.1f"));
    if (!m_statistics.dailyMedianMs.empty()) {
        days->setRange(m_statistics.dailyMedianMs.front().first.addDays(-1).startOfDay(),
                       m_statistics.dailyMedianMs.back().first.addDays(1).startOfDay());
    }
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(days), static_cast<QAbstractAxis*>(times)})
        axis->setLabelsFont(font());
    m_chart->addAxis(days, Qt::AlignBottom);
    m_chart->addAxis(times, Qt::AlignLeft);
    for (QAbstractSeries* series : m_chart->series()) {
        series->attachAxis(days);
        series->attachAxis(times);
    }
    const auto& daily = m_statistics.dailyMedianMs;
    m_chartView->setAccessibleDescription(
        daily.empty() ? QStringLiteral("選んだ期間には、時間の分かる正解がありません。")
                      : QStringLiteral("正解した最初の答えの反応時間の中央値: %1 日分。最初の日 %2、最後の日 %3。")
                            .arg(daily.size())
                            .arg(seconds(daily.front().second), seconds(daily.back().second)));
}

bool NotesPage::exportCsv(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QString text = QStringLiteral("時刻,モード,回,出題,最初の答え,正解,反応時間 (ms),再生回数,音色,オクターブ,"
                                  "前の音を手がかりにしない\n");
    static const std::vector<TrialRow> none;
    for (const TrialRow* trial : selectTrials(m_trials ? *m_trials : none, period(), ModeChoice::Both, m_today())) {
        const QDateTime when =
            QDateTime::fromMSecsSinceEpoch(trial->answeredAtMs, Qt::OffsetFromUTC, trial->utcOffsetS);
        const QStringList fields{when.toString(Qt::ISODateWithMs),
                                 toQString(modeName(trial->mode)),
                                 QString::number(trial->run),
                                 noteName(trial->asked),
                                 noteName(trial->answered),
                                 trial->right() ? QStringLiteral("1") : QStringLiteral("0"),
                                 trial->reactionMs ? QString::number(*trial->reactionMs) : QString(),
                                 QString::number(trial->plays),
                                 toQString(timbreRow(trial->timbre).name),
                                 QString::number(trial->octave),
                                 trial->guard ? QStringLiteral("1") : QStringLiteral("0")};
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field);
        text += quoted.join(u',') + u'\n';
    }
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace tonarika
