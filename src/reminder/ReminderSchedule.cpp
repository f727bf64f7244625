#include "ReminderSchedule.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

namespace tonarika {

namespace {

const QString kTimer = QStringLiteral("tonarika-reminder.timer");
constexpr int kCommandMs = 5000;

// Writes `text` whole into `path`, its folder made where missing; why not, or nothing.
std::optional<QString> writeWhole(const QString& path, const QString& text)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QCoreApplication::translate("ReminderSchedule", "フォルダー %1 を作れません").arg(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        return QCoreApplication::translate("ReminderSchedule", "%1 に書き込めません（%2）").arg(path, file.errorString());
    return std::nullopt;
}

std::optional<QString> removeIfThere(const QString& path)
{
    if (QFileInfo::exists(path) && !QFile::remove(path))
        return QCoreApplication::translate("ReminderSchedule", "%1 を消せません").arg(path);
    return std::nullopt;
}

}  // namespace

QString timerDropIn(int minutes)
{
    return QStringLiteral("# Written by tonarika-progress: the time of the day's reminder.\n"
                          "[Timer]\nOnCalendar=\nOnCalendar=*-*-* %1:%2:00\n")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString autostartEntry()
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Tonarika practice reminder\n"
                          "Name[ja]=Tonarika の練習のお知らせ\n"
                          "Comment=Says so at the set time if today's practice is not done yet\n"
                          "Comment[ja]=今日の練習がまだなら、設定の時刻に知らせます\n"
                          "Exec=tonarika-progress --remind\n"
                          "Icon=io.github.tonarika.Tonarika\n"
                          "NoDisplay=true\n"
                          "X-GNOME-Autostart-enabled=true\n");
}

ReminderSchedule::ReminderSchedule(QString configHome, QString systemctl)
    : m_configHome(std::move(configHome))
    , m_systemctl(std::move(systemctl))
{
}

QString ReminderSchedule::dropInFile() const
{
    return m_configHome + QStringLiteral("/systemd/user/") + kTimer + QStringLiteral(".d/time.conf");
}

QString ReminderSchedule::autostartFile() const
{
    return m_configHome + QStringLiteral("/autostart/io.github.tonarika.Tonarika.Reminder.desktop");
}

bool ReminderSchedule::systemctl(const QStringList& arguments, QString* output) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(m_systemctl, QStringList{QStringLiteral("--user")} + arguments);
    if (!process.waitForFinished(kCommandMs)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

ReminderSchedule::Outcome ReminderSchedule::apply(std::optional<int> minutes) const
{
    // A user manager that answers, and knows the package's timer.
    QString found;
    const bool systemd = systemctl({QStringLiteral("cat"), kTimer}, &found);
    if (!systemd) {
        Outcome outcome{Way::Autostart, {}};
        outcome.problem = minutes ? writeWhole(autostartFile(), autostartEntry()) : removeIfThere(autostartFile());
        return outcome;
    }
    Outcome outcome{Way::Systemd, {}};
    // An autostart entry of an earlier session without systemd would remind twice.
    if (auto problem = removeIfThere(autostartFile())) {
        outcome.problem = problem;
        return outcome;
    }
    if (!minutes) {
        if (!systemctl({QStringLiteral("disable"), QStringLiteral("--now"), kTimer}))
            outcome.problem = QCoreApplication::translate("ReminderSchedule", "systemctl --user disable %1 に失敗しました").arg(kTimer);
        return outcome;
    }
    if (auto problem = writeWhole(dropInFile(), timerDropIn(*minutes))) {
        outcome.problem = problem;
        return outcome;
    }
    if (!systemctl({QStringLiteral("daemon-reload")}) || !systemctl({QStringLiteral("enable"), QStringLiteral("--now"), kTimer})
        || !systemctl({QStringLiteral("restart"), kTimer}))
        outcome.problem = QCoreApplication::translate("ReminderSchedule", "systemctl --user enable %1 に失敗しました").arg(kTimer);
    return outcome;
}

}  // namespace tonarika
