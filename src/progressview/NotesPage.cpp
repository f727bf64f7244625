#include "NotesPage.h"

// own
#include "ProgressChartView.h"
#include "JournalFaultText.h"
#include "Progress.h"
#include "ScoreLogReader.h"

// Qt
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QCursor>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>
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

// Right answers green, wrong ones red: two families apart at a glance, and apart for the
// commonest colour blindness by their lightness too.
const QColor kRightColour(0x1E, 0x7B, 0x34);
const QColor kWrongColour(0xC6, 0x28, 0x28);

// A share's colour: white for none, the full colour for all of a row.
QColor shareColour(const QColor& full, double share)
{
    const auto mix = [share](int value) { return int(255 - (255 - value) * share); };
    return QColor(mix(full.red()), mix(full.green()), mix(full.blue()));
}

// A cell that sorts by the number it holds for sorting, not by its text.
class SortItem : public QTableWidgetItem {
public:
    bool operator<(const QTableWidgetItem& other) const override
    {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

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
            table->setItem(row, column, new SortItem);
    }
    return table;
}

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
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
    m_headline->setToolTip(learnedRule());
    auto* choices = new QHBoxLayout;
    for (const auto& [text, box] : {std::pair(QStringLiteral("期間(&P)"), m_period), std::pair(QStringLiteral("モード(&M)"), m_mode),
                                    std::pair(QStringLiteral("音色(&T)"), m_timbre)}) {
        auto* label = new QLabel(text);
        label->setBuddy(box);
        choices->addWidget(label);
        choices->addWidget(box);
    }
    choices->addStretch(1);
    m_growing = new QLabel;
    m_growing->setObjectName(QStringLiteral("growingSet"));
    m_growing->setWordWrap(true);
    m_growing->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_growing->hide();
    auto* headlines = new QHBoxLayout;
    headlines->addWidget(m_headline);
    headlines->addSpacing(24);
    headlines->addWidget(m_acrossHeadline);
    headlines->addStretch(1);

    m_notes = makeTable(QStringLiteral("notesTable"), QStringLiteral("音ごとの成績"), kNoteCount, 7);
    m_notes->setHorizontalHeaderLabels({QStringLiteral("音"), QStringLiteral("問題数"), QStringLiteral("最初の答えの正解率"),
                                        QStringLiteral("反応時間（中央値）"), QStringLiteral("覚えた"),
                                        QStringLiteral("音色の数"), QStringLiteral("音域の数")});
    // The notes by name in the first column, so that a sort by any column keeps each row's
    // name with it; keyboard order until a header is clicked.
    m_notes->verticalHeader()->hide();
    // What a note lacks can run long: it wraps within a column of its own width, so that
    // the table fits a window of the default size.
    m_notes->setWordWrap(true);
    m_notes->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Fixed);
    m_notes->setColumnWidth(4, fontMetrics().horizontalAdvance(QStringLiteral("直近20問: 17/20、中央値")) + 16);
    m_notes->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    m_notes->setSortingEnabled(true);
    m_confusion = makeTable(QStringLiteral("confusionTable"), QStringLiteral("どの音と取り違えたか（行: 出題、列: 答え）"),
                            kNoteCount, kNoteCount);
    m_confusion->setAccessibleDescription(QStringLiteral("行が出題の音、列が答えた音。対角線は正解、それ以外ははずれ。"));
    QStringList names;
    for (const int note : kKeyboardOrder)
        names << noteName(note);
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
    // The last day's label is centred on the axis's end: room for half of it to the right,
    // so that it never reads cut short ("12/0").
    QMargins margins = m_chart->margins();
    margins.setRight(margins.right() + fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00")) / 2 + 4);
    m_chart->setMargins(margins);
    m_chartView = new QChartView(m_chart);
    m_chartView->setObjectName(QStringLiteral("reactionChart"));
    m_chartView->setAccessibleName(QStringLiteral("反応時間の推移のグラフ"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setMinimumHeight(220);

    auto* content = new QWidget;
    // The figures under the table, not beside it: the table alone is as wide as the window.
    auto* top = new QVBoxLayout;
    top->addWidget(m_notes, 0, Qt::AlignLeft | Qt::AlignTop);
    top->addWidget(m_figures, 0, Qt::AlignLeft | Qt::AlignTop);
    // The confusion table's axes, in words beside it.
    auto* answers = new QLabel(QStringLiteral("答え →"));
    answers->setObjectName(QStringLiteral("answersCaption"));
    auto* asked = new QLabel(QStringLiteral("出\n題\n↓"));
    asked->setObjectName(QStringLiteral("askedCaption"));
    asked->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    auto* confusion = new QGridLayout;
    confusion->addWidget(answers, 0, 1, Qt::AlignHCenter);
    confusion->addWidget(asked, 1, 0, Qt::AlignTop);
    confusion->addWidget(m_confusion, 1, 1, Qt::AlignLeft | Qt::AlignTop);
    confusion->setColumnStretch(2, 1);
    auto* contentLayout = new QVBoxLayout(content);
    // The choices and headlines scroll with the rest, so that a small window cuts none.
    contentLayout->addLayout(choices);
    contentLayout->addLayout(headlines);
    contentLayout->addWidget(m_growing);
    contentLayout->addLayout(top);
    contentLayout->addLayout(confusion);
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
    layout->addWidget(m_stack, 1);
    connect(m_period, &QComboBox::currentIndexChanged, this, &NotesPage::refresh);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &NotesPage::refresh);
    connect(m_timbre, &QComboBox::currentIndexChanged, this, &NotesPage::refresh);
    // Today and the day's figures move on at midnight, with or without a new answer.
    m_midnight = new QTimer(this);
    m_midnight->setSingleShot(true);
    connect(m_midnight, &QTimer::timeout, this, [this] {
        if (m_trials)
            showTrials(m_trials, m_journal, m_fault);
        armMidnight();
    });
    armMidnight();
}

void NotesPage::armMidnight()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime midnight = now.date().addDays(1).startOfDay();
    // A second past it, and at least a minute from now, whatever the clock does.
    m_midnight->start(std::chrono::milliseconds(std::max<qint64>(60000, now.msecsTo(midnight) + 1000)));
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

void NotesPage::showTrials(std::shared_ptr<const std::vector<Trial>> trials, const std::filesystem::path& journal,
                           const std::optional<JournalFault>& fault)
{
    // A reading of the score logs alone brings the same rows: nothing to work out again,
    // unless the day has turned.
    const QDate today = m_today();
    if (m_trials && trials == m_trials && today == m_shownOn && fault == m_fault)
        return;
    m_shownOn = today;
    m_trials = std::move(trials);
    m_journal = journal;
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
    static const std::vector<Trial> none;
    const auto& trials = m_trials ? *m_trials : none;
    m_statistics = noteStatistics(selectTrials(trials, period(), mode(), m_today(), timbre()));
    // Learned is the player's state now, from every answer in the mode, in every timbre:
    // the period and the timbre choose only what the tables and the chart count.
    m_learned = noteStatistics(selectTrials(trials, Period::All, mode(), m_today()));
    const int notes = mode() == ModeChoice::Easy ? kWhiteKeyCount : kNoteCount;
    m_headline->setText(QStringLiteral("覚えた音: %1/%2").arg(m_learned.learned).arg(notes));
    m_acrossHeadline->setText(QStringLiteral("音色・音域を問わず: %1/%2").arg(m_learned.learnedAcross).arg(notes));
    fillNotes();
    fillConfusion();
    fillFigures();
    drawReactionTimes();
    showGrowingSet();
}

void NotesPage::setNoteChoice(NoteChoice choice)
{
    if (choice == m_noteChoice)
        return;
    m_noteChoice = choice;
    showGrowingSet();
}

void NotesPage::showGrowingSet()
{
    m_growing->setVisible(m_noteChoice == NoteChoice::Growing);
    if (m_noteChoice != NoteChoice::Growing)
        return;
    static const std::vector<Trial> none;
    const auto& trials = m_trials ? *m_trials : none;
    QStringList lines;
    for (const Mode mode : {Mode::Easy, Mode::Hard}) {
        if ((mode == Mode::Easy && this->mode() == ModeChoice::Hard) || (mode == Mode::Hard && this->mode() == ModeChoice::Easy))
            continue;
        // The game's own rule over the same answers: what is learned in this mode, whatever
        // the period and the timbre.
        const ModeChoice only = mode == Mode::Easy ? ModeChoice::Easy : ModeChoice::Hard;
        const NoteStatistics learned = noteStatistics(selectTrials(trials, Period::All, only, m_today()));
        NoteSet learnedNotes;
        for (int note = 0; note < kNoteCount; ++note) {
            if (learned.notes[std::size_t(note)].learned)
                learnedNotes.add(note);
        }
        const NoteSet set = growingSet(mode, learnedNotes);
        QStringList inSet;
        QStringList lacking;
        for (const NoteIndex note : kGrowingOrder) {
            if (!set.contains(note))
                continue;
            inSet << noteName(note);
            if (!learnedNotes.contains(note))
                lacking << QStringLiteral("%1 が%2").arg(noteName(note), learnedDistance(learned.notes[note]));
        }
        QString line = QStringLiteral("少しずつ増やす（%1）: %2").arg(toQString(modeName(mode)), inSet.join(u' '));
        if (const auto next = nextGrowingNote(mode, set))
            line += QStringLiteral("。次は %1: %2").arg(noteName(*next), lacking.join(QStringLiteral("、")));
        else
            line += QStringLiteral("。すべての音を出題しています");
        lines << line;
    }
    m_growing->setText(lines.join(u'\n'));
    m_growing->setAccessibleName(m_growing->text());
}

void NotesPage::fillNotes()
{
    // Filled in keyboard order, then sorted again by the column chosen.
    m_notes->setSortingEnabled(false);
    const int notes = mode() == ModeChoice::Easy ? kWhiteKeyCount : kNoteCount;
    int shown = 0;
    for (int place = 0; place < kNoteCount; ++place) {
        const int index = kKeyboardOrder[size_t(place)];
        const NoteFigures& note = m_statistics.notes[size_t(index)];
        const NoteFigures& state = m_learned.notes[size_t(index)];
        const bool inMode = index < notes;
        const struct {
            QString text;
            double key;
        } cells[] = {
            {noteName(index), double(place)},
            {QString::number(note.questions), double(note.questions)},
            {percentText(note.rightRate), note.rightRate.value_or(-1.0)},
            {seconds(note.medianMs), note.medianMs.value_or(1e12)},
            {state.learned ? QStringLiteral("覚えた") : inMode ? learnedDistance(state) : QString(),
             state.learned ? 1e6 : double(std::min(state.questions, kLearnedQuestions) * 100 + state.lastRight)},
            {QString::number(note.timbres), double(note.timbres)},
            {QString::number(note.octaves), double(note.octaves)},
        };
        for (int column = 0; column < int(std::size(cells)); ++column) {
            QTableWidgetItem* item = m_notes->item(shown, column);
            item->setText(cells[column].text);
            item->setData(Qt::UserRole, cells[column].key);
            item->setToolTip(column == 4 ? learnedRule() : QString());
        }
        ++shown;
    }
    m_notes->setSortingEnabled(true);
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
            const bool right = asked == answered;
            cell->setBackground(shareColour(right ? kRightColour : kWrongColour, share));
            cell->setForeground(share > 0.5 ? QColor(Qt::white) : QColor(Qt::black));
            // What a screen reader reads of the cell, the empty ones too.
            cell->setData(Qt::AccessibleTextRole, QStringLiteral("出題 %1、答え %2%3: %4 回 (%5 %)")
                                                      .arg(noteName(asked), noteName(answered),
                                                           right ? QStringLiteral("（正解）") : QString())
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
    clearChart(*m_chart);
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
    // Each day's point tells its date, its median and how many answers it is of.
    connect(points, &QScatterSeries::hovered, this, [this](const QPointF& point, bool over) {
        if (!over) {
            QToolTip::hideText();
            return;
        }
        const QDate day = QDateTime::fromMSecsSinceEpoch(qint64(point.x())).date();
        const auto& daily = m_statistics.dailyMedianMs;
        for (std::size_t i = 0; i < daily.size(); ++i) {
            if (daily[i].first == day) {
                QToolTip::showText(QCursor::pos(), QStringLiteral("%1\n中央値 %2\n正解 %3 問")
                                                       .arg(day.toString(QStringLiteral("yyyy/MM/dd")),
                                                            seconds(daily[i].second))
                                                       .arg(m_statistics.dailyAnswers.at(i)));
            }
        }
    });
    auto* days = new QDateTimeAxis;
    days->setFormat(QStringLiteral("MM/dd"));
    auto* times = new QValueAxis;
    times->setRange(0, std::ceil(slowest + 0.5));
    times->setLabelFormat(QStringLiteral("%.1f"));
    if (!m_statistics.dailyMedianMs.empty()) {
        // Ticks on whole days, a dozen or so whatever the span: one a day over two weeks or
        // less, else one every so many weeks from a Monday, doubling as the span grows.
        QDate first = m_statistics.dailyMedianMs.front().first.addDays(-1);
        const QDate last = m_statistics.dailyMedianMs.back().first.addDays(1);
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

std::optional<int> NotesPage::exportCsv(const QString& path) const
{
    // RFC 4180: CRLF line ends; UTF-8 with a byte-order mark, so that a spreadsheet reads
    // the Japanese as such; replaced whole, so that a failed write leaves the old file.
    QString text = QStringLiteral("\uFEFF時刻 (UTC),時刻 (記録した場所),モード,回,出題,最初の答え,正解,反応時間 (ms),"
                                  "再生回数,音色,オクターブ,前の音を手がかりにしない,A4 (Hz),テスト,入力\r\n");
    static const std::vector<Trial> none;
    int rows = 0;
    for (const Trial* trial : selectTrials(m_trials ? *m_trials : none, period(), ModeChoice::Every, m_today())) {
        const QDateTime utc = QDateTime::fromMSecsSinceEpoch(trial->answeredAtMs, Qt::UTC);
        const QDateTime local = utc.toOffsetFromUtc(trial->utcOffsetS);
        const QStringList fields{utc.toString(Qt::ISODateWithMs),
                                 local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                 toQString(modeKey(trial->mode)),
                                 QString::number(trial->run),
                                 noteName(trial->asked),
                                 noteName(trial->answered),
                                 trial->right() ? QStringLiteral("1") : QStringLiteral("0"),
                                 trial->reactionMs ? QString::number(*trial->reactionMs) : QString(),
                                 QString::number(trial->plays),
                                 toQString(timbreRow(trial->timbre).name),
                                 QString::number(trial->octave),
                                 trial->guard ? QStringLiteral("1") : QStringLiteral("0"),
                                 QString::number(trial->a4),
                                 trial->mode == Mode::PitchTest ? QString::number(trial->test) : QString(),
                                 trial->input ? toQString(inputKey(*trial->input)) : QString()};
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field);
        text += quoted.join(u',') + QStringLiteral("\r\n");
        ++rows;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return std::nullopt;
    const QByteArray bytes = text.toUtf8();
    // A write the disk refuses shows at the flush: commit() would still put the cut-off
    // file in place and report success.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return std::nullopt;
    }
    if (!file.commit())
        return std::nullopt;
    return rows;
}

}  // namespace tonarika
