// tonarika-progress: the player's progress, from the score logs the game writes.

// own
#include "Appearance.h"
#include "CommandLine.h"
#include "HomePage.h"
#include "Language.h"
#include "ProgramFolder.h"
#include "ProgressWindow.h"
#include "Reminder.h"
#include "SettingsFile.h"
#include "TrialJournal.h"

// Qt
#include <QApplication>
#include <QProcess>
#include <QToolTip>

int main(int argc, char** argv)
{
    // Everything is said in the language the settings ask, --help too.
    const tonarika::Language language = tonarika::readSettingsFile(tonarika::settingsFilePath()).display.language;
    tonarika::CommandLineChoice choice;
    if (const auto status = tonarika::answerCommandLine(
            argc, argv, QStringLiteral("tonarika-progress"),
            tonarika::textIn(language, "CommandLine",
                             QT_TRANSLATE_NOOP("CommandLine", "Tonarika 練習帳: 今日の練習と次の一歩、練習の成果を表示し、練習の設定を選びます\n設定ファイル: %1"))
                .arg(tonarika::settingsFilePath()),
            &choice, tonarika::ProgramOptions::Reminder, language))
        return *status;
    if (choice.remind) {
        // No window and no display: the notification goes over the session bus.
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("tonarika-progress"));
        tonarika::useLanguage(language);
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
    tonarika::useLanguage(language);
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
    if (choice.settings)
        window.showSettingsPage();
    // The game beside this program where it is installed so, or the one on the path.
    const auto beside = tonarika::programFolder() / "tonarika";
    const QString game = std::filesystem::exists(beside) ? QString::fromStdString(beside.string()) : QStringLiteral("tonarika");
    window.setLauncher([game](const QStringList& arguments) { return QProcess::startDetached(game, arguments); });
    window.show();
    return QApplication::exec();
}
