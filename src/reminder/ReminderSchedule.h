#pragma once

// Qt
#include <QString>

// std
#include <optional>

namespace tonarika {

// When the day's reminder runs: the package's systemd user timer, its time set in a
// drop-in of the player's own (~/.config/systemd/user/tonarika-reminder.timer.d/), turned
// on or off with systemctl; where there is no user systemd, an XDG autostart entry
// (~/.config/autostart/) that starts the same command at login, which then waits for the
// time. Every command is bounded in time.
class ReminderSchedule {
public:
    enum class Way { Systemd, Autostart };

    // `configHome`: $XDG_CONFIG_HOME; `systemctl`: the program that runs systemctl.
    explicit ReminderSchedule(QString configHome, QString systemctl = QStringLiteral("systemctl"));

    // The reminder at `minutes` after midnight, or none; how it is scheduled, or why it
    // could not be (in Japanese).
    struct Outcome {
        Way way = Way::Systemd;
        std::optional<QString> problem;
    };
    Outcome apply(std::optional<int> minutes) const;

    QString dropInFile() const;
    QString autostartFile() const;

private:
    // Runs systemctl --user with `arguments`; false where it failed or took too long.
    bool systemctl(const QStringList& arguments, QString* output = nullptr) const;

    QString m_configHome;
    QString m_systemctl;
};

// The drop-in that sets the timer's time: the package's time cleared, this one set.
QString timerDropIn(int minutes);
// The autostart entry that starts the reminder at login.
QString autostartEntry();

}  // namespace tonarika
