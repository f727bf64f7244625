#include "NotesPage.h"

// own
#include "NextStep.h"
#include "ProgressChartView.h"
#include "ReactionChart.h"
#include "SungView.h"
#include "NoteTables.h"
#include "PageParts.h"
#include "TrialCsv.h"
#include "JournalFaultText.h"
#include "Progress.h"
#include "ScoreLogReader.h"

// Qt
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace tonarika {

NotesPage::NotesPage(Today today, QWidget* parent)
    : QWidget(parent)
    , m_today(std::move(today))
{
    m_period = new QComboBox;
    m_period->setObjectName(QStringLiteral("period"));
    m_period->setAccessibleName(tr("期間"));
    m_period->addItems({tr("今日"), tr("直近7日"), tr("直近30日"), tr("すべて")});
    m_period->setCurrentIndex(int(Period::All));
    m_mode = new QComboBox;
    m_mode->setObjectName(QStringLiteral("mode"));
    m_mode->setAccessibleName(tr("モード"));
    // Each item holds its choice: the sung notes come last, after the keys' modes.
    m_mode->addItem(QStringLiteral("Easy"), int(ModeChoice::Easy));
    m_mode->addItem(QStringLiteral("Hard"), int(ModeChoice::Hard));
    m_mode->addItem(tr("Easy と Hard"), int(ModeChoice::Both));
    m_mode->addItem(tr("声"), int(ModeChoice::Sung));
    m_mode->setCurrentIndex(m_mode->findData(int(ModeChoice::Both)));
    m_timbre = new QComboBox;
    m_timbre->setObjectName(QStringLiteral("timbre"));
    m_timbre->setAccessibleName(tr("音色"));
    m_timbre->addItem(tr("すべて"));
    for (const auto& row : kTimbreTable)
        m_timbre->addItem(gameText(row.name));
    m_headline = new QLabel;
    m_headline->setObjectName(QStringLiteral("learnedHeadline"));
    QFont large = m_headline->font();
    large.setPixelSize(20);
    m_headline->setFont(large);
    m_acrossHeadline = new QLabel;
    m_acrossHeadline->setObjectName(QStringLiteral("learnedAcrossHeadline"));
    m_acrossHeadline->setToolTip(tr("覚えた音のうち、直近20問が3つ以上の音色と2つ以上の音域にわたるもの"));
    m_headline->setToolTip(learnedRule());
    auto* choices = new QHBoxLayout;
    for (const auto& [text, box] : {std::pair(tr("期間(&P)"), m_period), std::pair(tr("モード(&M)"), m_mode),
                                    std::pair(tr("音色(&T)"), m_timbre)}) {
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

    m_notes = makeNoteTable(QStringLiteral("notesTable"), tr("音ごとの成績"), kNoteCount, 7);
    m_notes->setHorizontalHeaderLabels({tr("音"), tr("問題数"), tr("最初の答えの正解率"),
                                        tr("反応時間（中央値）"), tr("覚えた"),
                                        tr("音色の数"), tr("音域の数")});
    // The notes by name in the first column, so that a sort by any column keeps each row's
    // name with it; keyboard order until a header is clicked.
    m_notes->verticalHeader()->hide();
    // What a note lacks can run long: it wraps within a column of its own width, so that
    // the table fits a window of the default size.
    m_notes->setWordWrap(true);
    m_notes->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Fixed);
    m_notes->setColumnWidth(4, fontMetrics().horizontalAdvance(tr("直近20問: 17/20、中央値")) + 16);
    m_notes->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    m_notes->setSortingEnabled(true);
    m_confusion = makeNoteTable(QStringLiteral("confusionTable"), tr("どの音と取り違えたか（行: 出題、列: 答え）"),
                            kNoteCount, kNoteCount);
    m_confusion->setAccessibleDescription(tr("行が出題の音、列が答えた音。対角線は正解、それ以外ははずれ。"));
    QStringList names;
    for (const int note : kKeyboardOrder)
        names << noteText(note);
    m_confusion->setVerticalHeaderLabels(names);
    // Narrow columns: a black key's other name on a line of its own.
    QStringList columnNames;
    for (const QString& name : names)
        columnNames << QString(name).replace(u'(', QStringLiteral("\n("));
    m_confusion->setHorizontalHeaderLabels(columnNames);
    m_figures = new QLabel;
    m_figures->setObjectName(QStringLiteral("noteFigures"));
    m_figures->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_reactions = std::make_unique<ReactionChart>(font());

    auto* content = new QWidget;
    // The figures under the table, not beside it: the table alone is as wide as the window.
    auto* top = new QVBoxLayout;
    top->addWidget(m_notes, 0, Qt::AlignLeft | Qt::AlignTop);
    top->addWidget(m_figures, 0, Qt::AlignLeft | Qt::AlignTop);
    // The confusion table's axes, in words beside it.
    auto* answers = new QLabel(tr("答え →"));
    answers->setObjectName(QStringLiteral("answersCaption"));
    auto* asked = new QLabel(tr("出\n題\n↓"));
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
    contentLayout->addWidget(m_reactions->view());
    m_sung = new SungView;
    m_sung->setObjectName(QStringLiteral("sungView"));
    m_sung->hide();
    contentLayout->addWidget(m_sung);
    // What only the keys' answers have, hidden while the sung notes are shown.
    m_keysOnly = {m_headline, m_acrossHeadline, m_growing, m_notes, m_figures, answers, asked, m_confusion, m_reactions->view()};
    // However small the window, every figure can be scrolled to.
    auto* scroll = scrolling(content);
    m_empty = emptyNote({}, QStringLiteral("emptyJournal"));
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

NotesPage::~NotesPage() = default;

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
    return ModeChoice(m_mode->currentData().toInt());
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
        m_mode->setCurrentIndex(m_mode->findData(int(mode)));
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
        m_empty->setText(tr("問題の記録を読めませんでした。\n%1\n\n%2")
                             .arg(displayPath(journal), journalFaultText(*fault)));
        m_stack->setCurrentWidget(m_empty);
    } else if (!m_trials || m_trials->empty()) {
        m_empty->setText(tr("まだ問題の記録がありません。\n\nTonarika は問題に答えるたびに、その記録を"
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
    const bool sung = mode() == ModeChoice::Sung;
    for (QWidget* widget : m_keysOnly)
        widget->setVisible(!sung);
    m_sung->setVisible(sung);
    if (sung) {
        m_sung->show(selectTrials(trials, period(), ModeChoice::Sung, m_today(), timbre()));
        return;
    }
    m_statistics = noteStatistics(selectTrials(trials, period(), mode(), m_today(), timbre()));
    // Learned is the player's state now, from every answer in the mode, in every timbre:
    // the period and the timbre choose only what the tables and the chart count.
    // Each mode by its own answers, as the growing set judges: Easy and Hard together say
    // which mode each note stands in.
    m_learned = learnedState(trials, mode(), m_today());
    const int notes = mode() == ModeChoice::Easy ? kWhiteKeyCount : kNoteCount;
    const bool both = mode() == ModeChoice::Both;
    const QString where = both ? tr("（Easy か Hard のどちらかで）") : QString();
    m_headline->setText(tr("覚えた音: %1/%2%3").arg(m_learned.statistics.learned).arg(notes).arg(where));
    m_acrossHeadline->setText(tr("音色・音域を問わず: %1/%2").arg(m_learned.statistics.learnedAcross).arg(notes));
    fillNoteTable(*m_notes, m_statistics, m_learned, notes, both);
    fillConfusionTable(*m_confusion, m_statistics);
    fillFigures();
    m_reactions->show(m_statistics);
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
    m_growing->setVisible(m_noteChoice == NoteChoice::Growing && mode() != ModeChoice::Sung);
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
        const GrowingStep step = growingStep(trials, mode, m_today());
        QStringList inSet;
        for (const NoteIndex note : kGrowingOrder) {
            if (step.set.contains(note))
                inSet << noteText(note);
        }
        QString line = tr("少しずつ増やす（%1）: %2").arg(gameText(modeName(mode)), inSet.join(u' '));
        if (step.next)
            line += tr("。次は %1: %2").arg(noteText(*step.next), step.lacking.join(tr("、")));
        else
            line += tr("。すべての音を出題しています");
        lines << line;
    }
    m_growing->setText(lines.join(u'\n'));
    m_growing->setAccessibleName(m_growing->text());
}

void NotesPage::fillFigures()
{
    const auto& s = m_statistics;
    m_figures->setText(tr("白鍵: 正解率 %1、反応時間 %2\n黒鍵: 正解率 %3、反応時間 %4\n"
                                      "はずれのうち半音違い: %5\nはずれの平均のずれ: %6")
                           .arg(percentText(s.white.rightRate), secondsText(s.white.medianMs), percentText(s.black.rightRate),
                                secondsText(s.black.medianMs), percentText(s.semitoneShare),
                                s.meanErrorSemitones ? QLocale().toString(*s.meanErrorSemitones, 'f', 1) + tr(" 半音")
                                                     : QStringLiteral("―")));
}

std::optional<int> NotesPage::exportCsv(const QString& path) const
{
    static const std::vector<Trial> none;
    return writeTrialsCsv(path, selectTrials(m_trials ? *m_trials : none, period(), ModeChoice::Every, m_today()));
}

}  // namespace tonarika
