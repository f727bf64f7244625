// tonarika-progress: the player's progress, from the score logs the game writes.

// own
#include "Appearance.h"
#include "ProgramFolder.h"
#include "ProgressWindow.h"

// Qt
#include <QApplication>
#include <QToolTip>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tonarika-progress"));
    QGuiApplication::setDesktopFileName(QStringLiteral(TONARIKA_PROGRESS_APP_ID));
    QApplication::setStyle(QStringLiteral("Fusion"));
    tonarika::registerFontSubstitutions();
    // Tool tips are drawn by Qt, not by a window of ours: they take the light look too.
    QToolTip::setPalette(tonarika::lightPalette());
    QApplication::setWindowIcon(tonarika::programIcon());

    // Both places the game writes: beside its program, which is installed beside this
    // one, and the user's data folder.
    const auto data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    std::vector<std::filesystem::path> logs{std::filesystem::path(data) / "tonarika" / "Score.TXT"};
    if (const auto program = tonarika::programFolder(); !program.empty())
        logs.insert(logs.begin(), program / "Score.TXT");

    tonarika::ProgressWindow window(logs, tonarika::ScoreLogReader());
    window.resize(1000, 600);
    window.show();
    return QApplication::exec();
}
