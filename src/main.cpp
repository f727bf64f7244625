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
    // The notes are looked for under the current folder first, then beside the program;
    // all twelve start loading now, so that the first question sounds at once.
    std::vector<std::string> notes;
    for (const auto& row : tonarika::kNoteTable)
        notes.emplace_back(row.wavFile);
    tonarika::SdlPlayer player({{}, folder}, notes);
    tonarika::ScoreFile scoreFile(folder, tonarika::ScoreFile::userDataFolder());
    tonarika::ClockRandom random;

    tonarika::Form1 window(player, random, scoreFile);
    window.show();
    return app.exec();
}
