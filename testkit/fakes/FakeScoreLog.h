#pragma once

// own
#include "ScoreLog.h"

// std
#include <string>
#include <vector>

namespace tonarika::test {

// Keeps the runs it is given; when `failing`, keeps none and says so.
class FakeScoreLog : public ScoreLog {
public:
    std::vector<ScoreRun> runs;
    bool failing = false;
    RecordOutcome append(const ScoreRun& run) override
    {
        const std::string line = run.mode + " " + std::to_string(run.missCount) + "/" + std::to_string(run.questionCount);
        if (failing)
            return {false, line};
        runs.push_back(run);
        return {true, line};
    }
};

}  // namespace tonarika::test
