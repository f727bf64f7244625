#pragma once

// std
#include <string>
#include <vector>

namespace tonarika {

// The desktop's input while it is open: mono float samples at the rate it was opened at.
class Recording {
public:
    virtual ~Recording() = default;
    // Waits once, for a few milliseconds at most, and appends what was heard since; false
    // where the input failed or went away.
    virtual bool read(std::vector<float>& samples) = 0;
    // What went wrong, for the log.
    virtual std::string error() const = 0;
};

}  // namespace tonarika
