#pragma once

// own
#include "GameClock.h"

namespace tonarika::test {

// Clocks that stand still until a test moves them.
class FakeClock : public GameClock {
public:
    std::chrono::steady_clock::time_point monotonic{std::chrono::seconds(1000)};
    std::int64_t utc = 1'796'000'000'000;  // December 2026

    std::chrono::steady_clock::time_point now() const override { return monotonic; }
    std::int64_t utcMs() const override { return utc; }
    void advance(std::chrono::milliseconds by)
    {
        monotonic += by;
        utc += by.count();
    }
};

}  // namespace tonarika::test
