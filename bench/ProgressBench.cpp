// What reading a long score log back costs the progress view: 100,000 records, years
// of daily runs, written by the game's own line formatter.

// own
#include "LongLog.h"
#include "ScoreLogReader.h"

// std
#include <benchmark/benchmark.h>

namespace {

constexpr std::uint32_t kRecords = 100'000;

void readLogOfHundredThousandRecords(benchmark::State& state)
{
    // Made once, for every repetition, and gone when the program ends.
    static const tonarika::bench::LongLog log(kRecords);
    const tonarika::ScoreLogReader reader(tonarika::ScoreLogParser(QLocale(QLocale::Japanese, QLocale::Japan)), "UTF-8");
    std::size_t records = 0;
    for (auto _ : state) {
        const auto history = reader.read({log.path()});
        records = history.records.size();
        benchmark::DoNotOptimize(records);
    }
    state.counters["records"] = double(records);
    if (records != kRecords)
        state.SkipWithError("the log was not read whole");
}
BENCHMARK(readLogOfHundredThousandRecords)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
