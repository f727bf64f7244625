// tonarika-progress: the player's progress, from the score logs the game writes.

// own
#include "Appearance.h"
#include "CommandLine.h"
#include "ProgramFolder.h"
#include "ProgressWindow.h"
#include "Reminder.h"
#include "SettingsFile.h"
#include "TrialJournal.h"

// Qt
#include <QApplication>
#include <QToolTip>

int main(int argc, char** argv)
{
    tonarika::CommandLineChoice choice;
    if (const auto status = tonarika::answerCommandLine(
            argc, argv, QStringLiteral("tonarika-progress"),
            QStringLiteral("Tonarika スコアの推移: 練習の成果を表示し、練習の設定を選びます\n設定ファイル: %1")
                .arg(tonarika::settingsFilePath()),
            &choice, tonarika::ProgramOptions::Reminder))
        return *status;
    if (choice.remind) {
        // No window and no display: the notification goes over the session bus.
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("tonarika-progress"));
        const auto data = tonarika::playerDataFolder();
        const auto beside = tonarika::programFolder() / "tonarika";
        return tonarika::remind({data.empty() ? std::filesystem::path() : tonarika::journalFile(data),
                                 std::filesystem::exists(beside) ? beside : std::filesystem::path("tonarika")},
                                choice.now);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tonarika-progress"));
    QGuiApplication::setDesktopFileName(QStringLiteral(TONARIKA_PROGRESS_APP_ID));
    QApplication::setStyle(QStringLiteral("Fusion"));
    tonarika::registerFontSubstitutions();
    tonarika::useJapaneseQtTexts();
    // Tool tips are drawn by Qt, not by a window of ours: they take the light look too.
    QToolTip::setPalette(tonarika::lightPalette());
    QApplication::setWindowIcon(tonarika::programIcon());

    // The places the game writes its log in this layout: beside its program (installed
    // beside this one) where it keeps its score there, and the player's data folder.
    const auto data = tonarika::playerDataFolder();
    const auto logs = tonarika::scoreLogs(tonarika::programFolder(), data);

    tonarika::ProgressWindow window(logs, tonarika::ScoreLogReader(), &QDate::currentDate,
                                    data.empty() ? std::filesystem::path() : tonarika::journalFile(data));
    window.addSettingsPage(tonarika::settingsFilePath());
    window.show();
    return QApplication::exec();
}
