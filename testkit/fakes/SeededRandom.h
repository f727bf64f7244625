#pragma once

// own
#include "RandomSource.h"

// std
#include <random>

namespace tonarika::test {

// A repeatable stream of uniform values: the clock never re-seeds it.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(unsigned seed) : m_engine(seed) {}
    void reseedFromClock() override {}
    float next() override { return std::uniform_real_distribution<float>(0.0f, 1.0f)(m_engine); }

private:
    std::mt19937 m_engine;
};

}  // namespace tonarika::test
