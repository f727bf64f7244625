// own
#include "AnswerHistory.h"
#include "Appearance.h"
#include "ClockRandom.h"
#include "CommandLine.h"
#include "DayTitle.h"
#include "Form1.h"
#include "Language.h"
#include "ProgramFolder.h"
#include "ScoreFile.h"
#include "ModulePlayer.h"
#include "SettingsFile.h"
#include "SettingsReceipt.h"
#include "SettingsWatcher.h"
#include "TerminationSignals.h"
#include "MidiCommands.h"
#include "MidiInput.h"
#include "MicrophoneInput.h"
#include "TrialJournal.h"

// Qt
#include <QApplication>
#include <QLoggingCategory>
#include <QToolTip>
#include <QSessionManager>
#include <QTimer>

// std
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

Q_LOGGING_CATEGORY(lcSettingsReceipt, "tonarika.settings", QtWarningMsg)

// What the process does if it ends by exit() while the window is open: Qt calls it
// when the display connection breaks, and the run must not be lost then either.
tonarika::Form1* openWindow = nullptr;
tonarika::TrialJournal* openJournal = nullptr;

void recordOnExit()
{
    if (openWindow) {
        openWindow->setEnding();
        openWindow->recordRunOnce();
    }
    if (openJournal)
        openJournal->close(tonarika::TrialJournal::kFlushLimit);
}

}  // namespace

int main(int argc, char** argv)
{
    // The language and the window's size come from the settings before anything is said
    // or drawn.
    const tonarika::DisplaySettings display = tonarika::readSettingsFile(tonarika::settingsFilePath()).display;
    tonarika::CommandLineChoice choice;
    if (const auto status = tonarika::answerCommandLine(
            argc, argv, QStringLiteral("tonarika"),
            tonarika::textIn(display.language, "CommandLine", QT_TRANSLATE_NOOP("CommandLine", "Tonarika: 絶対音感を身につける聴音ゲーム\n設定ファイル: %1"))
                .arg(tonarika::settingsFilePath()),
            &choice, tonarika::ProgramOptions::PitchTest, display.language))
        return *status;
    // A full disk must fail a write, not kill the program before it can try elsewhere.
    std::signal(SIGXFSZ, SIG_IGN);
    // The main window at the size the settings ask, fonts, icons and the focus mark too:
    // Qt draws the whole process at that scale, times any the desktop already asks.
    if (display.size != 1.0) {
        const double desktop = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() : 1.0;
        qputenv("QT_SCALE_FACTOR", QByteArray::number((desktop > 0 ? desktop : 1.0) * display.size));
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tonarika"));
    // The desktop entry's name: Wayland shells and taskbars find the icon through it.
    QGuiApplication::setDesktopFileName(QStringLiteral(TONARIKA_APP_ID));
    // Fusion paints push buttons in their palette's colour: white and black keys.
    QApplication::setStyle(QStringLiteral("Fusion"));
    tonarika::registerFontSubstitutions();
    tonarika::useLanguage(display.language);
    // Tool tips are drawn by Qt, not by a window of ours: they take the light look too.
    QToolTip::setPalette(tonarika::lightPalette());

    const auto folder = tonarika::programFolder();
    // The twelve notes, all from one folder.
    std::vector<std::string> notes;
    for (const auto& row : tonarika::kNoteTable)
        notes.emplace_back(row.wavFile);
    // The sound module beside the program (a build, an unpacked copy), or where it is installed.
    tonarika::ModulePlayer player({folder / "tonarika-sound.so", folder / TONARIKA_INSTALLED_SOUND_MODULE},
                                  tonarika::noteFolders(folder), notes, &QApplication::beep);
    const auto dataFolder = tonarika::playerDataFolder();
    tonarika::ScoreFile scoreFile(tonarika::scoreFolder(folder), dataFolder);
    // The journal of every question: the player's own, in the data folder whatever the layout.
    tonarika::TrialJournal journal(tonarika::journalFile(dataFolder));
    tonarika::ClockRandom random;

    // Which timbres and octaves the questions take: read again whenever the file changes.
    tonarika::SettingsWatcher settings(tonarika::settingsFilePath());

    // The weak notes' weights and the notes learned, from the journal and each answer.
    tonarika::SystemClock clock;
    tonarika::AnswerHistory history(tonarika::journalFile(dataFolder), clock);

    // Sung answers come through the desktop's input, opened only while one is awaited; it
    // outlives the window, which listens through it.
    tonarika::MicrophoneInput microphone;
    tonarika::Form1 window(player, random, scoreFile, journal);
    window.setVoiceInput(&microphone);
    window.setAnswerListener(&history);
    window.setNoteWeights(&history);
    window.setLearnedNotes(&history);
    window.setQuestionSettings(&settings);
    // With a daily goal, the title counts the day's minutes.
    tonarika::DayTitle dayTitle(window, history, settings);
    // The companion learns from the receipt beside the file that the game has taken a change up.
    const auto giveReceipt = [&settings] {
        if (!settings.reading().digest.isEmpty() && !tonarika::writeReceipt(tonarika::settingsFilePath(), settings.reading().digest))
            qCWarning(lcSettingsReceipt, "the receipt %s could not be written", qUtf8Printable(tonarika::receiptPath(tonarika::settingsFilePath())));
    };
    giveReceipt();
    QObject::connect(&settings, &tonarika::SettingsWatcher::read, &window, giveReceipt);
    // The notes' names and the language follow the settings at once: the window shows
    // everything again in them, what the game has put on it too.
    const auto followDisplay = [&window, &settings] {
        const tonarika::DisplaySettings& chosen = settings.reading().display;
        if (chosen.language != tonarika::languageInUse())
            tonarika::useLanguage(chosen.language);
        window.setNoteNaming(tonarika::namingIn(chosen.language, chosen.naming));
    };
    followDisplay();
    QObject::connect(&settings, &tonarika::SettingsWatcher::changed, &window, followDisplay);
    // New settings: the next question is drawn ahead again by them, so that its sound loads.
    QObject::connect(&settings, &tonarika::SettingsWatcher::changed, &window,
                     [&window, &settings] { window.setQuestionSettings(&settings); });

    // A MIDI keyboard answers as the on-screen keys do; its input opens once the window is
    // up, on a thread of its own, and only where the settings allow it.
    tonarika::MidiQueue midiQueue;
    tonarika::MidiCommands midiCommands(midiQueue);
    tonarika::MidiInput midiInput(midiQueue);
    QObject::connect(&midiCommands, &tonarika::MidiCommands::notePressed, &window, &tonarika::Form1::midiNotePressed);
    QObject::connect(&midiCommands, &tonarika::MidiCommands::listenPressed, &window, &tonarika::Form1::midiListenPressed);
    const auto followMidiSetting = [&midiCommands, &midiInput, &settings] {
        const bool midi = settings.reading().midi;
        midiCommands.setEnabled(midi);
        if (midi)
            midiInput.start();
    };
    QObject::connect(&settings, &tonarika::SettingsWatcher::changed, &midiCommands, followMidiSetting);

    // A logout, a shutdown or a kill ends the game as its close box does: the window
    // records the run and closes, and every event loop, a modal box's too, ends.
    const auto endSession = [&window] {
        window.setEnding();
        window.close();
        QCoreApplication::quit();
    };
    tonarika::TerminationSignals terminations;
    QObject::connect(&terminations, &tonarika::TerminationSignals::received, &app, endSession);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, [endSession](QSessionManager&) { endSession(); });
    openWindow = &window;
    openJournal = &journal;
    std::atexit(recordOnExit);

    if (choice.hard)
        window.startHard();
    if (choice.pitchTest)
        window.startPitchTest();
    if (choice.sing)
        window.startSinging();
    window.show();
    // The sound module loads, the device opens and the notes load once the window is up,
    // so that none of it delays the window; a note asked before its load is done is
    // loaded first.
    QTimer::singleShot(0, &app, [&player, followMidiSetting] {
        player.start();
        followMidiSetting();
    });
    const int status = QApplication::exec();
    openWindow = nullptr;
    openJournal = nullptr;
    return status;
}
