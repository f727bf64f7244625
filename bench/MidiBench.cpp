// From a MIDI message's arrival to its answer judged on the window's thread, through the
// real path: a keyboard on a JACK server of the bench's own (dummy backend, 128 frames),
// the game's input, its queue, the window thread's event loop woken by the queue, and
// the game judging the answer. At rest, then beside two busy loops. Each answer must be
// judged right, so that every figure is of work done.
//   tonarika-midi-bench [PRESSES]

// own
#include "Game.h"
#include "JackKeyboard.h"
#include "JackServer.h"
#include "MidiCommands.h"
#include "MidiInput.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeJournal.h"
#include "fakes/FakePlayer.h"
#include "fakes/FakeScoreLog.h"
#include "fakes/SeededRandom.h"

// Qt
#include <QCoreApplication>
#include <QTimer>

// std
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using namespace tonarika;
using Clock = std::chrono::steady_clock;

// The keyboard's note for a note index, in the octave above middle C.
constexpr int kSemitones[kNoteCount] = {0, 2, 4, 5, 7, 9, 11, 1, 3, 6, 8, 10};

struct Figures {
    double median = 0;
    double p99 = 0;
    int judged = 0;
};

Figures pressKeys(QCoreApplication& app, test::JackKeyboard& keyboard, MidiCommands& commands, int presses)
{
    test::FakeDisplay display;
    test::FakePlayer player;
    test::SeededRandom random(7);
    test::FakeScoreLog scoreLog;
    test::FakeJournal journal;
    SystemClock clock;
    Game game(display, player, random, scoreLog, journal, clock, ".");
    game.hard_Click();

    std::vector<double> delays;
    int judged = 0;
    const auto connection = QObject::connect(&commands, &MidiCommands::notePressed, &app, [&](int index, Clock::time_point arrived) {
        const auto answers = journal.trials.size();
        game.midiNoteOn(index, arrived);
        const auto done = Clock::now();
        // Judged right: one answer more in the journal, the key asked, nothing pending.
        if (journal.trials.size() == answers + 1 && journal.trials.back().answered == journal.trials.back().asked
            && !game.state().curNote) {
            ++judged;
            delays.push_back(std::chrono::duration<double, std::milli>(done - arrived).count());
        }
        app.exit();
    });
    // A press that never comes ends its wait, and is not counted.
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &app, [&app] { app.exit(); });
    for (int press = 0; press < presses; ++press) {
        game.Command1_Click();
        const int note = *game.state().curNote;
        // Past the chord span, so that each press answers.
        std::this_thread::sleep_for(std::chrono::milliseconds(35));
        keyboard.send({0x90, std::uint8_t(60 + kSemitones[note]), 90});
        timeout.start(2000);
        app.exec();
        timeout.stop();
    }
    QObject::disconnect(connection);
    Figures figures;
    figures.judged = judged;
    if (!delays.empty()) {
        std::sort(delays.begin(), delays.end());
        figures.median = delays[delays.size() / 2];
        figures.p99 = delays[std::min(delays.size() - 1, delays.size() * 99 / 100)];
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    test::JackServer server(128);
    if (!server.running()) {
        std::fprintf(stderr, "midi bench: %s\n", server.failure().c_str());
        return 1;
    }
    QCoreApplication app(argc, argv);
    MidiQueue queue;
    MidiCommands commands(queue);
    MidiInput input(queue, {.alsa = false, .lookEvery = std::chrono::milliseconds(100)});
    input.start();
    test::JackKeyboard keyboard("Bench Keyboard");
    for (int i = 0; i < 200 && !keyboard.connectedTo("tonarika:answers"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!keyboard.connectedTo("tonarika:answers")) {
        std::fprintf(stderr, "midi bench: the keyboard was never connected\n");
        return 1;
    }

    bool failed = false;
    const auto report = [&](const char* what, const Figures& figures, double goal, bool p99) {
        const double figure = p99 ? figures.p99 : figures.median;
        std::printf("MIDI arrival to judged, %-28s %s %.3f ms (goal <= %.0f ms), %d of %d presses judged\n", what,
                    p99 ? "p99   " : "median", figure, goal, figures.judged, presses);
        failed = failed || figures.judged != presses || figure > goal;
    };
    const Figures rest = pressKeys(app, keyboard, commands, presses);
    report("at rest:", rest, 1.0, false);
    report("at rest:", rest, 5.0, true);

    std::atomic<bool> busy{true};
    std::vector<std::thread> loops;
    for (int i = 0; i < 2; ++i) {
        loops.emplace_back([&busy] {
            volatile unsigned long spin = 0;
            while (busy.load(std::memory_order_relaxed))
                spin = spin + 1;
        });
    }
    const Figures loaded = pressKeys(app, keyboard, commands, presses);
    busy = false;
    for (std::thread& loop : loops)
        loop.join();
    report("beside two busy loops:", loaded, 1.0, false);
    report("beside two busy loops:", loaded, 5.0, true);
    return failed ? 1 : 0;
}
