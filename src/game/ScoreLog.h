#pragma once

// std
#include <cstdint>
#include <string>

namespace tonarika {

// The run that ends, as the score log records it.
struct ScoreRun {
    std::string mode;            // the caption of CapMode
    std::uint32_t missCount = 0;
    std::uint32_t questionCount = 0;  // at least 1
    std::string rateCaption;     // the caption of CapPar
};

// Appends one record per finished run. Must not throw and shows nothing.
class ScoreLog {
public:
    virtual ~ScoreLog() = default;
    virtual void append(const ScoreRun& run) = 0;
};

}  // namespace tonarika
