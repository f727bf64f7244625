// How the progress window copes with a long history: how soon it is drawn, and the
// longest time its thread is kept from its events while it opens, fills and takes in a
// run the game appends. Runs on Qt's offscreen platform.

// own
#include "BenchMain.h"
#include "LongJournal.h"
#include "LongLog.h"
#include "NotesPage.h"
#include "ProgressWindow.h"
#include "TrendPage.h"

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScatterSeries>
#include <QTimer>

// std
#include <algorithm>
#include <memory>
#include <numeric>

namespace {

using tonarika::ProgressWindow;

// Ticks every millisecond on the window thread and keeps the longest gap between ticks:
// how long the thread was kept from its events.
class Heartbeat {
public:
    Heartbeat()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_sinceLast.nsecsElapsed());
            m_sinceLast.restart();
        });
    }
    void start()
    {
        m_longest = 0;
        m_sinceLast.start();
        m_timer.start();
    }
    double longestMs()
    {
        m_timer.stop();
        return double(std::max(m_longest, m_sinceLast.nsecsElapsed())) / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceLast;
    qint64 m_longest = 0;
};

std::unique_ptr<ProgressWindow> openWindow(const tonarika::bench::LongLog& log, std::filesystem::path journal = {})
{
    auto window = std::make_unique<ProgressWindow>(
        std::vector<std::filesystem::path>{log.path()},
        tonarika::ScoreLogReader(tonarika::ScoreLogParser(QLocale(QLocale::Japanese, QLocale::Japan)), "UTF-8"),
        &QDate::currentDate, std::move(journal));
    window->resize(960, 680);
    window->show();
    return window;
}

// Runs the event loop until the window emits `shown`; false after a minute.
bool waitForSignal(ProgressWindow& window, void (ProgressWindow::*shownSignal)())
{
    QEventLoop loop;
    bool shown = false;
    const auto connection = QObject::connect(&window, shownSignal, &loop, [&] {
        shown = true;
        loop.quit();
    });
    QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return shown;
}

// Until the window shows a reading of its logs.
bool waitUntilShown(ProgressWindow& window)
{
    return waitForSignal(window, &ProgressWindow::shown);
}

// Until it shows a reading of the journal, which comes on a thread of its own.
bool waitUntilTrialsShown(ProgressWindow& window)
{
    return window.journalSnapshot() || waitForSignal(window, &ProgressWindow::trialsShown);
}

std::size_t recordsShown(const ProgressWindow& window)
{
    return window.snapshot() ? window.snapshot()->history.records.size() : 0;
}

// From making the window to its first drawing of all the runs.
void windowDrawnWithHundredThousandRecords(benchmark::State& state)
{
    static const tonarika::bench::LongLog log(100'000);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const auto window = openWindow(log);
        if (!waitUntilShown(*window))
            return state.SkipWithError("the window never showed the log");
        window->grab();  // draws it, chart and all
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (recordsShown(*window) != 100'000 || window->trend()->points(QStringLiteral("Easy"))->count() == 0)
            return state.SkipWithError("the window did not show every run");
    }
}
BENCHMARK(windowDrawnWithHundredThousandRecords)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The longest the window thread is kept from its events while a run the game appends
// is read and drawn, with 100,000 runs in view.
void appendBlocksTheWindowThread(benchmark::State& state)
{
    static tonarika::bench::LongLog log(100'000);
    const auto window = openWindow(log);
    if (!waitUntilShown(*window))
        return state.SkipWithError("the window never showed the log");
    Heartbeat heartbeat;
    for (auto _ : state) {
        const std::size_t before = recordsShown(*window);
        heartbeat.start();
        log.append();
        if (!waitUntilShown(*window) || recordsShown(*window) != before + 1)
            return state.SkipWithError("the appended run was not shown");
        window->grab();
        state.SetIterationTime(heartbeat.longestMs() / 1e3);
    }
}
BENCHMARK(appendBlocksTheWindowThread)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// From making the window to its first drawing of both pages, with 100,000 questions in
// the journal beside a log of 5,000 runs.
void windowDrawnWithHundredThousandTrials(benchmark::State& state)
{
    static const tonarika::bench::LongLog log(5'000);
    static const tonarika::bench::LongJournal journal(100'000);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const auto window = openWindow(log, journal.path());
        if (!waitUntilShown(*window) || !waitUntilTrialsShown(*window))
            return state.SkipWithError("the window never showed the log and the journal");
        window->grab();
        window->notes()->grab();  // the other page, drawn as if chosen
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        const auto& notes = window->notes()->statistics().notes;
        const int questions = std::accumulate(notes.begin(), notes.end(), 0,
                                              [](int sum, const auto& note) { return sum + note.questions; });
        if (questions != 100'000 || recordsShown(*window) != 5'000)
            return state.SkipWithError("the window did not show every question and run");
    }
}
BENCHMARK(windowDrawnWithHundredThousandTrials)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// A million runs: the time until the window is on the screen, and, as counters, the time
// until it is filled and the longest the window thread was kept from its events meanwhile.
void windowOpensWithAMillionRecords(benchmark::State& state)
{
    static const tonarika::bench::LongLog log(1'000'000);
    for (auto _ : state) {
        Heartbeat heartbeat;
        QElapsedTimer clock;
        clock.start();
        const auto window = openWindow(log);
        window->grab();
        const double open = double(clock.nsecsElapsed()) / 1e9;
        heartbeat.start();
        if (!waitUntilShown(*window))
            return state.SkipWithError("the window never showed the log");
        window->grab();
        state.counters["filled_s"] = double(clock.nsecsElapsed()) / 1e9;
        state.counters["longest_stall_ms"] = heartbeat.longestMs();
        state.SetIterationTime(open);
        if (recordsShown(*window) != 1'000'000)
            return state.SkipWithError("the window did not show every run");
    }
}
BENCHMARK(windowOpensWithAMillionRecords)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    return tonarika::bench::runBenchmarks(argc, argv);
}
