// own
#include "Appearance.h"
#include "ClockRandom.h"
#include "Form1.h"
#include "ProgramFolder.h"
#include "ScoreFile.h"
#include "SdlPlayer.h"

// Qt
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tonarika"));
    // Fusion paints push buttons in their palette's colour: white and black keys.
    QApplication::setStyle(QStringLiteral("Fusion"));
    tonarika::registerFontSubstitutions();

    const auto folder = tonarika::programFolder();
    tonarika::SdlPlayer player(folder);
    tonarika::ScoreFile scoreFile(folder, tonarika::ScoreFile::userDataFolder());
    tonarika::ClockRandom random;

    tonarika::Form1 window(player, random, scoreFile);
    window.show();
    return app.exec();
}
