#pragma once

// own
#include "Journal.h"

// std
#include <vector>

namespace tonarika::test {

class FakeJournal : public Journal {
public:
    std::vector<Trial> trials;
    void record(const Trial& trial) override { trials.push_back(trial); }
};

}  // namespace tonarika::test
