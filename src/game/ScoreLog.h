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

// What became of a run's record: kept, or lost with the line it would have been, so
// that the player can be shown that line and keep it some other way.
struct RecordOutcome {
    bool saved = true;
    std::string line;  // as the score file holds it, in UTF-8, without its line end
};

// Appends one record per finished run. Must not throw and shows nothing.
class ScoreLog {
public:
    virtual ~ScoreLog() = default;
    virtual RecordOutcome append(const ScoreRun& run) = 0;
};

}  // namespace tonarika
