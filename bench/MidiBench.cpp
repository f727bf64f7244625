// From a MIDI message's arrival to its answer judged on the window's thread, through the
// real path: a keyboard on a JACK server of the bench's own (dummy backend, 128 frames),
// the game's input, its queue, the window thread's event loop woken by the queue, and
// the game judging the answer. At rest, then beside two busy loops. Each answer must be
// judged right, so that every figure is of work done.
//
// A JACK client that misses its period loses what it was to send, the bench's keyboard
// too, and the game cannot see it. So the keyboard records each press it wrote with its
// period, and the xruns the server tells of: a press never judged that went out in a
// period no xrun came after is the game's loss and fails the run; one lost to an xrun is
// counted and named. The figures are of the presses judged, which must be 95 % at least.
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
#include <map>
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
    int lostToJack = 0;  // went out in a period an xrun came after
    int neverSent = 0;   // the keyboard's client never ran to send it
    int lostByGame = 0;  // went out, no xrun came, and never judged
    std::size_t xruns = 0;
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

    Figures figures;
    std::vector<double> delays;
    int expected = -1;
    Clock::time_point sentAt;
    bool answered = false;
    const auto connection = QObject::connect(&commands, &MidiCommands::notePressed, &app, [&](int index, Clock::time_point arrived) {
        // A press that came after its wait was given up answers nothing now.
        if (index != expected || arrived < sentAt)
            return;
        const auto answers = journal.trials.size();
        game.midiNoteOn(index, arrived);
        const auto done = Clock::now();
        // Judged right: one answer more in the journal, the key asked, nothing pending.
        if (journal.trials.size() == answers + 1 && journal.trials.back().answered == journal.trials.back().asked
            && !game.state().curNote) {
            ++figures.judged;
            answered = true;
            delays.push_back(std::chrono::duration<double, std::milli>(done - arrived).count());
        }
        app.exit();
    });
    // A press that never comes ends its wait, and is not counted.
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &app, [&app] { app.exit(); });
    const std::size_t xrunsBefore = keyboard.xruns().size();
    std::map<std::uint64_t, jack_nframes_t> periods;  // of each press written
    keyboard.takeWritten();
    for (int press = 0; press < presses; ++press) {
        game.Command1_Click();
        expected = *game.state().curNote;
        answered = false;
        // Past the chord span, so that each press answers.
        std::this_thread::sleep_for(std::chrono::milliseconds(35));
        const std::uint64_t message = keyboard.sent();
        sentAt = Clock::now();
        keyboard.send({0x90, std::uint8_t(60 + kSemitones[expected]), 90});
        timeout.start(2000);
        app.exec();
        timeout.stop();
        for (const auto& written : keyboard.takeWritten())
            periods[written.message] = written.period;
        if (answered)
            continue;
        // Its wait is over: whatever xrun took it has been told by now.
        const auto went = periods.find(message);
        const auto xruns = keyboard.xruns();
        const bool xrunAfter = went != periods.end()
                               && std::any_of(xruns.begin() + std::ptrdiff_t(xrunsBefore), xruns.end(), [&](jack_nframes_t at) {
                                      return jack_nframes_t(at - went->second) < (jack_nframes_t(1) << 31);
                                  });
        if (went == periods.end()) {
            ++figures.neverSent;
        } else if (xrunAfter) {
            ++figures.lostToJack;
        } else {
            ++figures.lostByGame;
            std::printf("the game lost press %d (note %d), which went out at frame %u with no xrun after it\n", press,
                        expected, went->second);
        }
        // The question stays pending: answered with the key, it is done with.
        game.cmdKey_Click(expected);
    }
    QObject::disconnect(connection);
    figures.xruns = keyboard.xruns().size() - xrunsBefore;
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
    MidiInput input(queue, {.alsa = false});
    input.start();
    test::JackKeyboard keyboard("Bench Keyboard");
    for (int i = 0; i < 200 && !keyboard.connectedTo("tonarika:answers"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!keyboard.connectedTo("tonarika:answers")) {
        std::fprintf(stderr, "midi bench: the keyboard was never connected\n");
        return 1;
    }

    bool failed = false;
    const auto report = [&](const char* what, const Figures& figures) {
        std::printf("MIDI arrival to judged, %-24s %d of %d presses judged\n", what, figures.judged, presses);
        for (const bool p99 : {false, true}) {
            const double figure = p99 ? figures.p99 : figures.median;
            const double goal = p99 ? 5.0 : 1.0;
            std::printf("  %s %.3f ms (goal <= %.0f ms)\n", p99 ? "p99   " : "median", figure, goal);
            failed = failed || figure > goal;
        }
        if (figures.lostToJack > 0)
            std::printf("  JACK lost %d presses in %zu xruns\n", figures.lostToJack, figures.xruns);
        if (figures.neverSent > 0)
            std::printf("  the keyboard's client never ran to send %d presses\n", figures.neverSent);
        if (figures.lostByGame > 0)
            std::printf("  the game lost %d presses that went out with no xrun\n", figures.lostByGame);
        if (figures.judged * 100 < presses * 95)
            std::printf("  fewer than 95 %% judged: too few to measure\n");
        failed = failed || figures.lostByGame > 0 || figures.judged * 100 < presses * 95;
    };
    report("at rest:", pressKeys(app, keyboard, commands, presses));

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
    report("beside two busy loops:", loaded);
    return failed ? 1 : 0;
}
