// What the journal costs the window's thread: handing it one trial while
// its writer sleeps, as it does between questions.

// own
#include "JournalReader.h"
#include "JournalSchema.h"
#include "LongJournal.h"
#include "SqliteDatabase.h"
#include "TrialJournal.h"

// SQLite
#include <sqlite3.h>

// system
#include <unistd.h>

// std
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <vector>

namespace {

void handATrialToTheWriter(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() / ("tonarika-journal-bench-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    const auto file = tonarika::journalFile(folder);
    std::vector<double> handOffs;
    {
        tonarika::TrialJournal journal(file);
        for (auto _ : state) {
            const auto trial = tonarika::Trial{1'796'000'000'000 + std::int64_t(handOffs.size()), tonarika::Mode::Easy, 1, 3, 4, 1200, 1};
            const auto start = std::chrono::steady_clock::now();
            journal.record(trial);
            const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
            state.SetIterationTime(spent.count());
            handOffs.push_back(spent.count() * 1e6);
            // Untimed: the writer finishes and goes back to sleep.
            journal.flush(std::chrono::seconds(60));
        }
    }
    tonarika::JournalReader reader(file);
    reader.update();
    std::filesystem::remove_all(folder);
    if (reader.rows().size() != handOffs.size()) {
        state.SkipWithError("not every trial handed over was written");
        return;
    }
    std::nth_element(handOffs.begin(), handOffs.begin() + handOffs.size() / 2, handOffs.end());
    state.counters["median_us"] = handOffs[handOffs.size() / 2];
    state.counters["written"] = double(reader.rows().size());
}
BENCHMARK(handATrialToTheWriter)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(500);

std::int64_t rowsIn(const std::filesystem::path& file)
{
    tonarika::SqliteDatabase db(tonarika::fileUri(file), SQLITE_OPEN_READONLY);
    return db.integer("SELECT max(id) FROM trials");
}

tonarika::Trial nowTrial(int asked)
{
    const auto now
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    return tonarika::Trial{now, tonarika::Mode::Hard, 1, tonarika::NoteIndex(asked % 12), tonarika::NoteIndex(asked % 12), 1200, 1};
}

// A game's start with a long journal: from making the journal to its first answer being
// written, each time the journal as the last game left it. Flat, whatever its length.
void openAndWriteTheFirstAnswer(benchmark::State& state)
{
    const tonarika::bench::LongJournal journal(int(state.range(0)));
    journal.leftByAGame();
    const std::int64_t before = rowsIn(journal.path());
    std::vector<double> ms;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        tonarika::TrialJournal game(journal.path());
        game.record(nowTrial(int(ms.size())));
        const bool written = game.flush(std::chrono::seconds(60));
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        if (!written) {
            state.SkipWithError("the first answer was not written");
            return;
        }
        state.SetIterationTime(spent.count());
        ms.push_back(spent.count() * 1e3);
    }
    // Each opening wrote its answer, and the rows before are all there.
    if (rowsIn(journal.path()) != before + std::int64_t(ms.size())) {
        state.SkipWithError("not every answer was written");
        return;
    }
    std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["rows"] = double(before);
}
BENCHMARK(openAndWriteTheFirstAnswer)
    ->Arg(10'000)
    ->Arg(1'000'000)
    ->Arg(4'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(1);

// The first version's journal of four million rows, taken up once while answers come: the
// answers wait and are all written after it, and every row is kept.
void takeUpAFirstVersionJournal(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const tonarika::bench::LongJournal journal(rows, 1);
    constexpr int kAnswers = 100;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        tonarika::TrialJournal game(journal.path());
        for (int i = 0; i < kAnswers; ++i)
            game.record(nowTrial(i));
        const bool written = game.flush(std::chrono::minutes(10));
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        if (!written) {
            state.SkipWithError("the answers given during the migration were not written");
            return;
        }
        state.SetIterationTime(spent.count());
    }
    tonarika::SqliteDatabase db(tonarika::fileUri(journal.path()), SQLITE_OPEN_READONLY);
    const std::int64_t count = db.integer("SELECT count(*) FROM trials");
    const std::int64_t version = db.integer("PRAGMA user_version");
    if (count != rows + kAnswers || version != tonarika::kJournalSchemaVersion) {
        state.SkipWithError("a row was lost, or the journal was not taken up");
        return;
    }
    state.counters["rows"] = double(count);
}
BENCHMARK(takeUpAFirstVersionJournal)->Arg(4'000'000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

}  // namespace
