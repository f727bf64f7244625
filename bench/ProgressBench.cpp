// What reading a long score log back costs the progress view: 100,000 records, years
// of daily runs, written by the game's own line formatter.

// own
#include "ScoreLine.h"
#include "ScoreLogReader.h"

// system
#include <unistd.h>

// std
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

namespace {

std::filesystem::path longLog()
{
    static const std::filesystem::path path = [] {
        const auto file = std::filesystem::temp_directory_path() / ("tonarika-bench-" + std::to_string(::getpid()) + ".TXT");
        std::ofstream out(file, std::ios::binary);
        out << tonarika::scoreHead().toStdString();
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        QDateTime when(QDate(2000, 1, 1), QTime(20, 0), Qt::UTC);
        for (std::uint32_t i = 0; i < 100'000; ++i) {
            const std::uint32_t questions = 5 + i % 40;
            const std::uint32_t misses = i % 7 % (questions + 1);
            const tonarika::ScoreRun run{i % 3 ? "Easy" : "Hard", misses, questions, "50.0 %"};
            out << tonarika::scoreLine(run, when, japanese).toStdString() << "\r\n";
            when = when.addSecs(3 * 3600);
        }
        return file;
    }();
    return path;
}

void readLogOfHundredThousandRecords(benchmark::State& state)
{
    const auto log = longLog();
    const tonarika::ScoreLogReader reader(tonarika::ScoreLogParser(QLocale(QLocale::Japanese, QLocale::Japan)), "UTF-8");
    std::size_t records = 0;
    for (auto _ : state) {
        const auto history = reader.read({log});
        records = history.records.size();
        benchmark::DoNotOptimize(records);
    }
    state.counters["records"] = double(records);
    std::filesystem::remove(log);
}
BENCHMARK(readLogOfHundredThousandRecords)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
