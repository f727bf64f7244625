#pragma once

// std
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tonarika {

// One note's samples: one channel, signed 16-bit, at the output's rate.
using Samples = std::vector<std::int16_t>;

// Where a player's notes go: a sound device, or a stream of the desktop's sound server.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // The frames per second every note is converted to.
    virtual int rate() const = 0;
    // Starts `samples` at once, fading out whatever sounds; the output keeps them while it
    // plays them. When their first sample reaches the device, or nothing where they could
    // not start.
    virtual std::optional<std::chrono::steady_clock::time_point> start(std::shared_ptr<const Samples> samples) = 0;
    // Whether it can sound now: false while a sound server that went away is connected to
    // again.
    virtual bool available() const { return true; }
};

}  // namespace tonarika
