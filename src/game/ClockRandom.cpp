#include "ClockRandom.h"

// std
#include <chrono>

namespace tonarika {

void ClockRandom::reseedFromClock()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32)};
    m_engine.seed(seed);
}

float ClockRandom::next()
{
    // 24 random bits fill a float's mantissa exactly, so the result is never 1.0f
    // (std::generate_canonical<float> can round up to 1.0f).
    return static_cast<float>(m_engine() >> 8) * (1.0f / 16777216.0f);
}

}  // namespace tonarika
