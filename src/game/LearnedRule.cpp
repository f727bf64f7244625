#include "LearnedRule.h"

// std
#include <algorithm>

namespace tonarika {

std::optional<double> medianMs(std::vector<std::uint32_t> times)
{
    if (times.empty())
        return std::nullopt;
    const auto middle = times.begin() + std::ptrdiff_t(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    if (times.size() % 2 == 1)
        return double(*middle);
    const auto below = *std::max_element(times.begin(), middle);
    return (double(below) + double(*middle)) / 2.0;
}

bool isLearned(std::span<const NoteAnswer> answers)
{
    if (answers.size() < std::size_t(kLearnedQuestions))
        return false;
    const auto last = answers.last(std::size_t(kLearnedQuestions));
    int right = 0;
    std::vector<std::uint32_t> times;
    for (const NoteAnswer& answer : last) {
        right += answer.right;
        if (answer.right && answer.reactionMs)
            times.push_back(*answer.reactionMs);
    }
    const auto median = medianMs(std::move(times));
    return right >= kLearnedRight && median && *median <= kLearnedMedianMs;
}

NoteSet growingSet(Mode mode, NoteSet learned)
{
    const int most = NoteSet::ofMode(mode).size();
    int count = kGrowingStart;
    const auto allLearned = [&](int first) {
        for (int i = 0; i < first; ++i) {
            if (!learned.contains(kGrowingOrder[std::size_t(i)]))
                return false;
        }
        return true;
    };
    while (count < most && allLearned(count))
        ++count;
    NoteSet set;
    for (int i = 0; i < count; ++i)
        set.add(kGrowingOrder[std::size_t(i)]);
    return set;
}

std::optional<NoteIndex> nextGrowingNote(Mode mode, NoteSet set)
{
    for (int i = 0; i < NoteSet::ofMode(mode).size(); ++i) {
        if (!set.contains(kGrowingOrder[std::size_t(i)]))
            return kGrowingOrder[std::size_t(i)];
    }
    return std::nullopt;
}

}  // namespace tonarika
