#pragma once

// std
#include <chrono>
#include <functional>

namespace tonarika {

// Calls back once a moment has come, on the window's thread. Setting it again replaces
// what was set before; the callback finds out from the game's state what is left to do.
class Alarm {
public:
    virtual ~Alarm() = default;
    virtual void ringAt(std::chrono::steady_clock::time_point when, std::function<void()> ring) = 0;
};

}  // namespace tonarika
