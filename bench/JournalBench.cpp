// What the journal costs the window's thread: handing it one trial while
// its writer sleeps, as it does between questions.

// own
#include "JournalReader.h"
#include "TrialJournal.h"

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

}  // namespace
