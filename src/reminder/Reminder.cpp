#include "Reminder.h"

// own
#include "DailyRules.h"
#include "TranslatedWording.h"
#include "DayFigures.h"
#include "DesktopNotification.h"
#include "JournalReader.h"
#include "JournalStore.h"
#include "SettingsFile.h"

// Qt
#include <QCoreApplication>
#include <QDBusError>
#include <QDateTime>
#include <QLoggingCategory>
#include <QProcess>
#include <QTimer>

// std
#include <chrono>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcReminder, "tonarika.reminder", QtInfoMsg)

constexpr std::chrono::minutes kWaitForAction{10};

// The reminder's text for today, or nothing where none is due.
std::optional<std::string> todaysText(const ReminderPlaces& places, const DailySettings& daily)
{
    const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    const std::int32_t offset = std::int32_t(utcOffsetAt(now));
    // The day's rows through the time index, with a day's margin for any offset.
    std::map<std::int64_t, DayFigure> days;
    if (!places.journal.empty()) {
        JournalReader reader(places.journal, JournalReader::kReadLimit, now - 2LL * 24 * 3600 * 1000);
        reader.update();
        if (reader.fault()) {
            qCWarning(lcReminder, "the journal %s cannot be read, so today counts as not practised: %s",
                      reader.file().c_str(), describeJournalFault(*reader.fault()).c_str());
        }
        days = dayFigures(reader.rows(), reader.presses());
    }
    const auto today = days.find(localDay(now, offset));
    const DayFigure figure = today != days.end() ? today->second : DayFigure{};
    return reminderText(figure.practisedMs, figure.questions > 0, daily.goalMinutes, TranslatedWording());
}

// Milliseconds until the time of day today, or none where it has passed.
std::optional<qint64> untilToday(int minutes)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime at(now.date(), QTime(minutes / 60, minutes % 60));
    const qint64 ms = now.msecsTo(at);
    return ms > 0 ? std::optional(ms) : std::nullopt;
}

}  // namespace

int remind(const ReminderPlaces& places, bool now)
{
    const QString settingsPath = settingsFilePath();
    const SettingsReading first = readSettingsFile(settingsPath);
    for (const SettingsProblem& problem : first.problems)
        qCWarning(lcReminder, "%s", qPrintable(problemText(settingsPath, problem)));
    if (!now && !first.daily.remindAtMinutes) {
        qCInfo(lcReminder, "no reminder: %s sets no time for it (practice/remind_at)", qPrintable(settingsPath));
        return 0;
    }
    int status = 0;
    DesktopNotification* notification = nullptr;
    const auto act = [&] {
        // The settings as they are when the reminder is due.
        const SettingsReading reading = readSettingsFile(settingsPath);
        const auto text = todaysText(places, reading.daily);
        if (!text) {
            qCInfo(lcReminder, "no reminder: today's practice is done");
            QCoreApplication::exit(0);
            return;
        }
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            qCWarning(lcReminder, "no reminder: there is no session bus (%s)", qPrintable(bus.lastError().message()));
            QCoreApplication::exit(0);
            return;
        }
        notification = new DesktopNotification(bus, QCoreApplication::instance());
        bool noService = false;
        if (const auto why = notification->show({QStringLiteral("Tonarika"), QString::fromStdString(*text),
                                                 QCoreApplication::translate("Reminder", "練習する"), QStringLiteral(TONARIKA_APP_ID),
                                                 QStringLiteral(TONARIKA_APP_ID)},
                                                &noService)) {
            qCWarning(lcReminder, "no reminder: %s (%s)",
                      noService ? "no notification service is on the session bus" : "the notification was refused",
                      qPrintable(*why));
            QCoreApplication::exit(0);
            return;
        }
        QObject::connect(notification, &DesktopNotification::actionInvoked, [&places, &status] {
            if (!QProcess::startDetached(QString::fromStdString(places.game.string()), {})) {
                qCWarning(lcReminder, "the game %s could not be started", places.game.c_str());
                status = 1;
            }
            QCoreApplication::exit(status);
        });
        QObject::connect(notification, &DesktopNotification::closed, [] { QCoreApplication::exit(0); });
        QTimer::singleShot(kWaitForAction, notification, [notification] {
            notification->close();
            QCoreApplication::exit(0);
        });
    };
    const auto wait = now ? std::nullopt : untilToday(*first.daily.remindAtMinutes);
    QTimer::singleShot(std::chrono::milliseconds(wait.value_or(0)), QCoreApplication::instance(), act);
    const int exitStatus = QCoreApplication::exec();
    return exitStatus != 0 ? exitStatus : status;
}

}  // namespace tonarika
