#pragma once

// own
#include "RandomSource.h"

// std
#include <deque>
#include <stdexcept>

namespace tonarika::test {

// Hands out the values a test gives it, in order.
class ScriptedRandom : public RandomSource {
public:
    std::deque<float> values;

    void reseedFromClock() override {}
    float next() override
    {
        if (values.empty())
            throw std::logic_error("ScriptedRandom ran out of values");
        const float value = values.front();
        values.pop_front();
        return value;
    }

    // The value that draws note `note` out of `range`.
    static float valueFor(int note, int range) { return (float(note) + 0.5f) / float(range); }
};

}  // namespace tonarika::test
