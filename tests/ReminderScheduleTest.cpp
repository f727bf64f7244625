// Where the reminder is scheduled: the timer's drop-in as systemd reads it, the calls to
// a user manager that answers, and the autostart entry where none does.

// own
#include "ReminderSchedule.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// std
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>

namespace tonarika::test {
namespace {

QString read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void put(const QString& path, const QString& text, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner);
}

int run(const QString& command)
{
    return std::system(command.toLocal8Bit().constData());
}

// The package's timer with the drop-in after it, as systemd merges them: it takes the
// drop-in's time alone, and refuses a time it does not understand.
TEST(ReminderSchedule, theDropInSetsTheTimersTimeAsSystemdReadsIt)
{
    EXPECT_EQ(timerDropIn(7 * 60 + 5), QStringLiteral("# Written by tonarika-progress: the time of the day's reminder.\n"
                                                      "[Timer]\nOnCalendar=\nOnCalendar=*-*-* 07:05:00\n"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString units = dir.filePath(QStringLiteral("units"));
    QDir().mkpath(dir.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString timer = read(QStringLiteral(TONARIKA_SOURCE_DIR "/desktop/tonarika-reminder.timer"));
    ASSERT_FALSE(timer.isEmpty());
    put(units + QStringLiteral("/tonarika-reminder.service"),
        QStringLiteral("[Service]\nType=exec\nExecStart=/bin/true\n"));
    const QString verify = QStringLiteral("XDG_RUNTIME_DIR=%1 systemd-analyze verify --user --man=no %2/tonarika-reminder.timer "
                                          ">/dev/null 2>&1")
                               .arg(dir.filePath(QStringLiteral("runtime")), units);
    put(units + QStringLiteral("/tonarika-reminder.timer"), timer + timerDropIn(21 * 60 + 45));
    EXPECT_EQ(run(verify), 0);
    put(units + QStringLiteral("/tonarika-reminder.timer"),
        timer + timerDropIn(21 * 60 + 45).replace(QStringLiteral("21:45"), QStringLiteral("25:45")));
    EXPECT_NE(run(verify), 0) << "the check can fail";
}

// With a user manager that knows the timer: the drop-in, a reload, the timer on; off
// turns it off. Without one: an autostart entry desktop-file-validate accepts, and off
// removes it; an entry left from before is removed once systemd takes over.
TEST(ReminderSchedule, systemdTakesTheTimeWhereItAnswersAndAutostartWhereNot)
{
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString calls = dir.filePath(QStringLiteral("calls"));
    const QString systemctl = dir.filePath(QStringLiteral("systemctl"));
    put(systemctl, QStringLiteral("#!/bin/sh\necho \"$*\" >>'%1'\n").arg(calls), true);

    const ReminderSchedule none(config, dir.filePath(QStringLiteral("no-such-systemctl")));
    auto outcome = none.apply(19 * 60 + 30);
    EXPECT_EQ(outcome.way, ReminderSchedule::Way::Autostart);
    EXPECT_FALSE(outcome.problem);
    EXPECT_EQ(run(QStringLiteral("desktop-file-validate %1").arg(none.autostartFile())), 0);
    EXPECT_TRUE(read(none.autostartFile()).contains(QStringLiteral("\nExec=tonarika-progress --remind\n")));
    EXPECT_FALSE(none.apply(std::nullopt).problem);
    EXPECT_FALSE(QFile::exists(none.autostartFile()));

    none.apply(6 * 60);
    const ReminderSchedule systemd(config, systemctl);
    outcome = systemd.apply(6 * 60);
    EXPECT_EQ(outcome.way, ReminderSchedule::Way::Systemd);
    EXPECT_FALSE(outcome.problem);
    EXPECT_FALSE(QFile::exists(systemd.autostartFile())) << "never reminded twice";
    EXPECT_EQ(systemd.dropInFile(), config + QStringLiteral("/systemd/user/tonarika-reminder.timer.d/time.conf"));
    EXPECT_TRUE(read(systemd.dropInFile()).contains(QStringLiteral("\nOnCalendar=*-*-* 06:00:00\n")));
    EXPECT_FALSE(systemd.apply(std::nullopt).problem);
    EXPECT_EQ(read(calls), QStringLiteral("--user cat tonarika-reminder.timer\n"
                                          "--user daemon-reload\n"
                                          "--user enable --now tonarika-reminder.timer\n"
                                          "--user restart tonarika-reminder.timer\n"
                                          "--user cat tonarika-reminder.timer\n"
                                          "--user disable --now tonarika-reminder.timer\n"));
}

}  // namespace
}  // namespace tonarika::test
