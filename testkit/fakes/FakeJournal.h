#pragma once

// own
#include "AnswerListener.h"
#include "Journal.h"

// std
#include <vector>

namespace tonarika::test {

// Keeps what it is given as the journal, and as the listener besides it.
class FakeJournal : public Journal, public AnswerListener {
public:
    std::vector<Trial> trials;
    std::vector<Trial> heard;
    void record(const Trial& trial) override { trials.push_back(trial); }
    void answered(const Trial& trial) override { heard.push_back(trial); }
};

}  // namespace tonarika::test
