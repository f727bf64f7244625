#pragma once

// std
#include <chrono>
#include <cstdint>

namespace tonarika {

// The clocks the game reads: the monotonic one that the player also stamps a note's
// start with, for reaction times, and the wall clock, for when an answer came.
class GameClock {
public:
    virtual ~GameClock() = default;
    virtual std::chrono::steady_clock::time_point now() const = 0;
    virtual std::int64_t utcMs() const = 0;
};

// The system's clocks.
class SystemClock : public GameClock {
public:
    std::chrono::steady_clock::time_point now() const override { return std::chrono::steady_clock::now(); }
    std::int64_t utcMs() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
};

}  // namespace tonarika
