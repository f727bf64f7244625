#pragma once

// own
#include "Alarm.h"

// std
#include <optional>
#include <utility>

namespace tonarika::test {

// Keeps what it was set to; the test rings it.
class FakeAlarm : public Alarm {
public:
    std::optional<std::chrono::steady_clock::time_point> when;
    std::function<void()> ringing;

    void ringAt(std::chrono::steady_clock::time_point at, std::function<void()> ring) override
    {
        when = at;
        ringing = std::move(ring);
    }
    void ring()
    {
        when.reset();
        if (const auto now = std::exchange(ringing, nullptr))
            now();
    }
};

}  // namespace tonarika::test
