#pragma once

namespace tonarika {

// A uniform generator over [0, 1) that is re-seeded from the clock before each draw.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseedFromClock() = 0;
    virtual float next() = 0;  // in [0, 1)
};

}  // namespace tonarika
