#include "PitchTestHistory.h"

// std
#include <algorithm>
#include <map>

namespace tonarika {

std::vector<PitchTestRecord> pitchTestRecords(const std::vector<Trial>& rows)
{
    std::vector<PitchTestRecord> records;
    std::vector<std::vector<PitchTestAnswer>> answers;
    std::map<std::int64_t, std::size_t> index;  // a test's number: its place in records
    for (const Trial& row : rows) {
        if (row.mode != Mode::PitchTest)
            continue;
        const auto [at, added] = index.try_emplace(row.test, records.size());
        if (added) {
            records.push_back({row.test, row.answeredAtMs, row.utcOffsetS, 0, row.a4, std::nullopt});
            answers.emplace_back();
        }
        ++records[at->second].answers;
        answers[at->second].push_back({{row.asked, row.timbre, row.octave}, row.answered, row.reactionMs});
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& taken = answers[i];
        const auto pure = std::count_if(taken.begin(), taken.end(),
                                        [](const PitchTestAnswer& answer) { return answer.item.timbre == Timbre::Sine; });
        const auto piano = std::count_if(taken.begin(), taken.end(),
                                         [](const PitchTestAnswer& answer) { return answer.item.timbre == Timbre::Piano; });
        if (taken.size() == std::size_t(kPitchTestItems) && pure == kPitchTestItemsPerTimbre && piano == kPitchTestItemsPerTimbre)
            records[i].result = pitchTestResult(taken);
    }
    return records;
}

}  // namespace tonarika
