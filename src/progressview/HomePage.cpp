#include "HomePage.h"

// own
#include "NextStep.h"
#include "PageParts.h"
#include "Progress.h"
#include "SettingsFile.h"

// Qt
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QLoggingCategory>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcHome, "tonarika.progress", QtWarningMsg)

const QDate kEpoch(1970, 1, 1);

QLabel* readable(const QString& name)
{
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    return label;
}

void say(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

}  // namespace

QuestionSettings recommendedPlan()
{
    QuestionSettings plan;
    plan.timbres = {Timbre::Piano, Timbre::Marimba, Timbre::Guitar};
    plan.threeOctaves = true;
    plan.guard = true;
    plan.weakNotes = true;
    plan.notes = NoteChoice::Growing;
    return plan;
}

HomePage::HomePage(Today today, QWidget* parent)
    : QWidget(parent)
    , m_today(std::move(today))
{
    auto* heading = new QLabel(tr("今日"));
    QFont large = heading->font();
    large.setPixelSize(large.pixelSize() > 0 ? large.pixelSize() * 3 / 2 : 22);
    heading->setFont(large);
    m_todayText = readable(QStringLiteral("todayFigures"));
    m_next = readable(QStringLiteral("nextStep"));

    m_practise = new QPushButton(tr("練習する(&P)"));
    m_practise->setObjectName(QStringLiteral("practise"));
    m_practise->setToolTip(tr("ゲームを始めます"));
    m_test = new QPushButton(tr("テストを受ける(&T)"));
    m_test->setObjectName(QStringLiteral("takeTest"));
    m_test->setToolTip(tr("研究で使われる絶対音感のテスト（72 問、約 10 分）を始めます"));
    connect(m_practise, &QPushButton::clicked, this, [this] {
        // Hard once the plan is set or where it is practised most.
        const auto lately = m_trials ? modePractisedLately(*m_trials, m_today()) : std::nullopt;
        launch(m_planSet || lately == Mode::Hard ? QStringList{QStringLiteral("--hard")} : QStringList{});
    });
    connect(m_test, &QPushButton::clicked, this, [this] { launch({QStringLiteral("--test")}); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_practise);
    buttons->addWidget(m_test);
    buttons->addStretch(1);
    m_status = readable(QStringLiteral("homeStatus"));

    m_plan = new QGroupBox(tr("はじめての方へ"));
    m_plan->setObjectName(QStringLiteral("firstPlan"));
    m_planText = readable(QStringLiteral("planText"));
    say(m_planText, tr("おすすめの始め方:\n"
                                   "・Hard で、出題する音は「少しずつ増やす」。ド ミ ソ から始め、覚えるたびに 1 音ずつ増えます\n"
                                   "・音色はピアノ・マリンバ・ギターの 3 つ、音域は 3 オクターブ\n"
                                   "・前の音を手がかりにしない、苦手な音を多めに\n"
                                   "・毎日 20 分ほど。大人の研究では、8 週間・約 21 時間の練習で平均 7 音ほどを覚えました（目安です）"));
    m_setPlan = new QPushButton(tr("このプランにする(&S)"));
    m_setPlan->setObjectName(QStringLiteral("setPlan"));
    m_setPlan->setToolTip(tr("練習の設定をこのプランにします。ほかの設定はそのままです"));
    connect(m_setPlan, &QPushButton::clicked, this, &HomePage::setPlan);
    auto* planLayout = new QVBoxLayout(m_plan);
    planLayout->addWidget(m_planText);
    planLayout->addWidget(m_setPlan, 0, Qt::AlignLeft);
    m_plan->hide();

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(heading);
    layout->addWidget(m_todayText);
    layout->addWidget(m_next);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    layout->addWidget(m_plan);
    layout->addStretch(1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scrolling(content));
    refresh();
}

void HomePage::showDays(const DailyOverview& overview, int goalMinutes)
{
    m_overview = overview;
    m_goal = goalMinutes;
    refresh();
}

void HomePage::showTrials(std::shared_ptr<const std::vector<Trial>> trials)
{
    m_trials = std::move(trials);
    refresh();
}

void HomePage::setNoteChoice(NoteChoice choice)
{
    m_noteChoice = choice;
    refresh();
}

void HomePage::setSettingsFile(const QString& file)
{
    m_settingsFile = file;
    refresh();
}

void HomePage::refresh()
{
    const std::int64_t today = kEpoch.daysTo(m_today());
    const auto found = m_overview.days.find(today);
    const DayFigure figure = found != m_overview.days.end() ? found->second : DayFigure{};
    QString text = tr("今日: %1 問、%2 分").arg(figure.questions).arg(figure.practisedMs / 60'000);
    if (m_goal > 0)
        text += tr("（目標 %1 分%2）").arg(m_goal).arg(figure.practisedMs >= std::int64_t(m_goal) * 60'000 ? QStringLiteral(" ✓") : QString());
    text += tr("\n%1の連続: %2 日（最長 %3 日）")
                .arg(m_goal > 0 ? tr("目標を達成した日") : tr("練習した日"))
                .arg(m_overview.streaks.current)
                .arg(m_overview.streaks.longest);
    say(m_todayText, text);

    const std::optional<Mode> lately = m_trials ? modePractisedLately(*m_trials, m_today()) : std::nullopt;
    m_next->setVisible(lately.has_value());
    if (lately.has_value()) {
        const Mode mode = lately.value_or(Mode::Hard);
        say(m_next, tr("次の一歩（%1）: %2").arg(gameText(modeName(mode)), nextStepText(*m_trials, mode, m_noteChoice, m_today())));
    }
    // A first start: nothing answered, nothing pressed.
    const bool first = m_trials && m_trials->empty() && m_overview.days.empty();
    m_plan->setVisible(first && !m_settingsFile.isEmpty());
}

void HomePage::launch(const QStringList& arguments)
{
    const bool started = m_launch ? m_launch(arguments) : QProcess::startDetached(QStringLiteral("tonarika"), arguments);
    if (started) {
        m_status->clear();
        return;
    }
    qCWarning(lcHome, "the game could not be started (tonarika %s)", qUtf8Printable(arguments.join(u' ')));
    say(m_status, tr("ゲームを起動できませんでした。"));
}

void HomePage::setPlan()
{
    // Only the plan's own keys; whatever else the file holds stays.
    std::vector<std::pair<QString, QString>> values;
    for (const auto& value : settingsValues(recommendedPlan())) {
        for (const char* key : {"questions/timbres", "questions/octaves", "questions/guard", "questions/weak_notes", "questions/notes"}) {
            if (value.first == QLatin1String(key))
                values.push_back(value);
        }
    }
    if (const auto problem = writeSettingsFile(m_settingsFile, values)) {
        say(m_status, tr("設定を保存できませんでした: %1").arg(problemTextJapanese(*problem)));
        return;
    }
    m_planSet = true;
    say(m_status, tr("設定しました。「練習する」で Hard から始まります。"));
}

}  // namespace tonarika
