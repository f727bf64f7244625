#pragma once

// std
#include <benchmark/benchmark.h>
#include <cstdio>

namespace tonarika::bench {

// Reports as the console reporter does, and remembers whether a benchmark failed to do
// the work it times, so that the run as a whole fails.
class CheckingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            m_failed = m_failed || run.error_occurred;
        ConsoleReporter::ReportRuns(runs);
    }
    bool failed() const { return m_failed; }

private:
    bool m_failed = false;
};

// Runs the benchmarks the command line selects; non-zero when any of them failed.
inline int runBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CheckingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (reporter.failed())
        std::fprintf(stderr, "a benchmark did not do the work it measures\n");
    return reporter.failed() ? 1 : 0;
}

}  // namespace tonarika::bench
