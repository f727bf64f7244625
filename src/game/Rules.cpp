#include "Rules.h"

// own
#include "Captions.h"
#include "NoteSet.h"

// std
#include <cmath>
#include <vector>

namespace tonarika {

int noteFromRandom(float r, int range)
{
    return static_cast<int>(r * static_cast<float>(range));
}

int drawNote(RandomSource& random, int range, int prevNote)
{
    int note = 0;
    do {
        note = noteFromRandom(random.next(), range);
    } while (note == prevNote);
    return note;
}

int drawNoteIn(RandomSource& random, NoteSet notes, int prevNote)
{
    std::vector<int> allowed;
    for (int note = 0; note < kNoteCount; ++note) {
        if (notes.contains(note) && note != prevNote)
            allowed.push_back(note);
    }
    if (allowed.empty())
        return prevNote;
    return allowed.at(std::size_t(noteFromRandom(random.next(), int(allowed.size()))));
}

double correctRate(std::uint32_t questionCount, std::uint32_t missCount)
{
    return static_cast<double>(questionCount - missCount) / questionCount * 100.0;
}

std::string rateText(std::uint32_t questionCount, std::uint32_t missCount,
                     std::string_view decimalSeparator)
{
    // Half-way values round away from zero.
    const auto tenths = std::llround(correctRate(questionCount, missCount) * 10.0);
    return std::to_string(tenths / 10) + std::string(decimalSeparator) + std::to_string(tenths % 10)
        + " %";
}

std::string answerSummary(std::string_view result, std::string_view missCaption, std::string_view rateCaption,
                          const Wording& wording)
{
    // The result caption's leading space is for the eye only.
    while (result.starts_with(' '))
        result.remove_prefix(1);
    return worded(wording, captions::kAnswerSummary, {result, missCaption, rateCaption});
}

std::string missText(std::uint32_t questionCount, std::uint32_t missCount, const Wording& wording)
{
    return worded(wording, captions::kMissCount, {std::to_string(missCount), std::to_string(questionCount)});
}

}  // namespace tonarika
