#pragma once

// own
#include "RandomSource.h"

// std
#include <random>

namespace tonarika {

class ClockRandom : public RandomSource {
public:
    void reseedFromClock() override;
    float next() override;

private:
    std::mt19937 m_engine;
};

}  // namespace tonarika
