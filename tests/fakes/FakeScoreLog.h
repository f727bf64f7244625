#pragma once

// own
#include "ScoreLog.h"

// std
#include <vector>

namespace tonarika::test {

class FakeScoreLog : public ScoreLog {
public:
    std::vector<ScoreRun> runs;
    void append(const ScoreRun& run) override { runs.push_back(run); }
};

}  // namespace tonarika::test
