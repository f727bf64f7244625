#include "DailySettingsBox.h"

// own
#include "PageParts.h"

// Qt
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimeEdit>

// std
#include <cmath>

namespace tonarika {

DailySettingsBox::DailySettingsBox(QString file, ReminderSchedule schedule, QWidget* parent)
    : QGroupBox(tr("毎日の練習"), parent)
    , m_file(std::move(file))
    , m_schedule(std::move(schedule))
{
    setObjectName(QStringLiteral("daily"));
    auto* form = new QFormLayout(this);

    m_goal = new QSpinBox;
    m_goal->setObjectName(QStringLiteral("dailyGoal"));
    // 0 is no goal; the spin box steps from it to the least goal.
    m_goal->setRange(kLeastGoalMinutes - 1, kMostGoalMinutes);
    m_goal->setSpecialValueText(tr("なし"));
    m_goal->setSuffix(tr(" 分"));
    m_goal->setKeyboardTracking(false);
    m_goal->setAccessibleName(tr("1日の目標"));
    form->addRow(tr("1日の目標(&G)"), m_goal);
    form->addRow(explanation(m_goal, tr("1日に練習する分数。ゲームのタイトルに今日の分数が出ます。")));

    auto* remindRow = new QHBoxLayout;
    m_remind = new QCheckBox(tr("お知らせする"));
    m_remind->setObjectName(QStringLiteral("remind"));
    m_remind->setAccessibleName(m_remind->text());

    m_remindAt = new QTimeEdit;
    m_remindAt->setObjectName(QStringLiteral("remindAt"));
    m_remindAt->setDisplayFormat(QStringLiteral("HH:mm"));
    m_remindAt->setKeyboardTracking(false);
    m_remindAt->setAccessibleName(tr("お知らせの時刻"));
    remindRow->addWidget(m_remind);
    remindRow->addWidget(m_remindAt);
    remindRow->addStretch(1);
    form->addRow(tr("練習のお知らせ"), remindRow);
    form->addRow(explanation(m_remind, tr("この時刻に今日の練習がまだなら、デスクトップの通知で知らせます。")));
    m_scheduled = new QLabel;
    m_scheduled->setObjectName(QStringLiteral("remindScheduled"));
    m_scheduled->setWordWrap(true);
    form->addRow(m_scheduled);

    auto* windowRow = new QHBoxLayout;
    m_windowKind = new QComboBox;
    m_windowKind->setObjectName(QStringLiteral("windowKind"));
    m_windowKind->addItems({tr("なし"), tr("秒数を決める"), tr("覚えるほど短く")});
    m_windowKind->setAccessibleName(tr("答える時間の制限"));

    m_windowSeconds = new QDoubleSpinBox;
    m_windowSeconds->setObjectName(QStringLiteral("windowSeconds"));
    m_windowSeconds->setRange(1.0, 5.0);
    m_windowSeconds->setSingleStep(0.1);
    m_windowSeconds->setDecimals(1);
    m_windowSeconds->setSuffix(tr(" 秒"));
    m_windowSeconds->setKeyboardTracking(false);
    m_windowSeconds->setAccessibleName(tr("答える時間の制限（秒）"));
    windowRow->addWidget(m_windowKind);
    windowRow->addWidget(m_windowSeconds);
    windowRow->addStretch(1);
    form->addRow(tr("答える時間(&W)"), windowRow);
    form->addRow(explanation(m_windowKind, tr("これより遅い正解は「遅い」と表示され、はずれとして数えます。"
                                                          "「覚えるほど短く」は 2.0 秒から、覚えた音ごとに 0.1 秒ずつ 1.3 秒まで短くなります。")));

    connect(m_goal, &QSpinBox::valueChanged, this, &DailySettingsBox::writeGoal);
    connect(m_remind, &QCheckBox::toggled, this, &DailySettingsBox::writeReminder);
    connect(m_remindAt, &QTimeEdit::timeChanged, this, &DailySettingsBox::writeReminder);
    connect(m_windowKind, &QComboBox::currentIndexChanged, this, &DailySettingsBox::writeWindow);
    connect(m_windowSeconds, &QDoubleSpinBox::valueChanged, this, &DailySettingsBox::writeWindow);
}

void DailySettingsBox::show(const SettingsReading& reading)
{
    m_shown = reading;
    const QSignalBlocker quietGoal(m_goal), quietRemind(m_remind), quietAt(m_remindAt), quietKind(m_windowKind),
        quietSeconds(m_windowSeconds);
    m_goal->setValue(reading.daily.goalMinutes > 0 ? reading.daily.goalMinutes : m_goal->minimum());
    m_remind->setChecked(reading.daily.remindAtMinutes.has_value());
    const int at = reading.daily.remindAtMinutes.value_or(19 * 60 + 30);
    m_remindAt->setTime(QTime(at / 60, at % 60));
    m_remindAt->setEnabled(m_remind->isChecked());
    const AnswerWindow& window = reading.settings.answerWindow;
    m_windowKind->setCurrentIndex(int(window.kind));
    m_windowSeconds->setValue(window.kind == AnswerWindow::Kind::Fixed ? double(window.fixedMs) / 1000.0 : 2.0);
    m_windowSeconds->setEnabled(window.kind == AnswerWindow::Kind::Fixed);
}

void DailySettingsBox::write(const std::vector<std::pair<QString, QString>>& values, const QString& saved)
{
    if (const auto problem = writeSettingsFile(m_file, values)) {
        emit told(tr("設定を保存できませんでした: %1。設定ファイルはそのままです。").arg(problemTextJapanese(*problem)));
        return;
    }
    emit this->saved(saved);
}

void DailySettingsBox::writeGoal()
{
    DailySettings daily = m_shown.daily;
    daily.goalMinutes = m_goal->value() >= kLeastGoalMinutes ? m_goal->value() : 0;
    if (daily.goalMinutes == m_shown.daily.goalMinutes)
        return;
    m_shown.daily.goalMinutes = daily.goalMinutes;
    write({goalValue(daily.goalMinutes)}, tr("保存しました。ゲームのタイトルにすぐ反映されます。"));
}

void DailySettingsBox::writeReminder()
{
    m_remindAt->setEnabled(m_remind->isChecked());
    DailySettings daily = m_shown.daily;
    daily.remindAtMinutes.reset();
    if (m_remind->isChecked())
        daily.remindAtMinutes = m_remindAt->time().hour() * 60 + m_remindAt->time().minute();
    m_shown.daily.remindAtMinutes = daily.remindAtMinutes;
    write({remindValue(daily.remindAtMinutes)}, tr("保存しました。"));
    const ReminderSchedule::Outcome outcome = m_schedule.apply(daily.remindAtMinutes);
    QString line;
    if (outcome.problem)
        line = tr("お知らせを設定できませんでした: %1").arg(*outcome.problem);
    else if (!daily.remindAtMinutes)
        line = tr("お知らせはしません。");
    else if (outcome.way == ReminderSchedule::Way::Systemd)
        line = tr("毎日 %1 に systemd のタイマーでお知らせします。").arg(m_remindAt->time().toString(QStringLiteral("HH:mm")));
    else
        line = tr("systemd のユーザーセッションがないため、ログイン時に起動して %1 を待ちます（XDG autostart）。")
                   .arg(m_remindAt->time().toString(QStringLiteral("HH:mm")));
    m_scheduled->setText(line);
    m_scheduled->setAccessibleDescription(line);
}

AnswerWindow DailySettingsBox::chosenWindow() const
{
    const auto kind = AnswerWindow::Kind(m_windowKind->currentIndex());
    return {kind, kind == AnswerWindow::Kind::Fixed ? std::uint32_t(std::lround(m_windowSeconds->value() * 1000.0)) : 0};
}

void DailySettingsBox::writeWindow()
{
    const AnswerWindow window = chosenWindow();
    m_windowSeconds->setEnabled(window.kind == AnswerWindow::Kind::Fixed);
    if (window == m_shown.settings.answerWindow)
        return;
    m_shown.settings.answerWindow = window;
    write({answerWindowValue(window)}, tr("保存しました。次の問題から使われます。"));
}

}  // namespace tonarika
