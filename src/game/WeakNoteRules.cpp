#include "WeakNoteRules.h"

// std
#include <algorithm>

namespace tonarika {

NoteWeights noteWeights(std::span<const AnswerRecord> answers, Mode mode, std::int64_t nowMs)
{
    NoteWeights weights;
    weights.fill(1.0);
    const std::int64_t since = nowMs - std::int64_t(kWeakNoteDays) * 24 * 3600 * 1000;
    for (const AnswerRecord& answer : answers) {
        if (answer.mode != mode || answer.answeredAtMs < since || answer.answeredAtMs > nowMs)
            continue;
        if (answer.asked != answer.answered) {
            weights.at(answer.asked) += kMissedWeight;
            weights.at(answer.answered) += kTakenForWeight;
        } else if (answer.reactionMs && *answer.reactionMs > kSlowMs) {
            weights.at(answer.asked) += kSlowWeight;
        }
    }
    return weights;
}

std::array<double, kNoteCount> noteChances(const NoteWeights& weights, int range, int prevNote)
{
    std::array<double, kNoteCount> chances{};
    std::vector<int> notes;
    for (int note = 0; note < range; ++note) {
        if (note != prevNote)
            notes.push_back(note);
    }
    if (notes.empty())
        return chances;
    const double least = kLeastShare / double(notes.size());
    // Notes held at the least share give up nothing more; the rest share what is left in
    // proportion to their weights, until no note of the rest falls below the least.
    std::vector<bool> held(kNoteCount, false);
    for (bool changed = true; changed;) {
        changed = false;
        double free = 1.0;
        double weightOfRest = 0.0;
        for (const int note : notes) {
            if (held[std::size_t(note)])
                free -= least;
            else
                weightOfRest += std::max(0.0, weights[std::size_t(note)]);
        }
        for (const int note : notes) {
            if (held[std::size_t(note)]) {
                chances[std::size_t(note)] = least;
                continue;
            }
            const double weight = std::max(0.0, weights[std::size_t(note)]);
            chances[std::size_t(note)] = weightOfRest > 0 ? free * weight / weightOfRest : free / double(notes.size());
            if (chances[std::size_t(note)] < least) {
                held[std::size_t(note)] = true;
                changed = true;
            }
        }
    }
    return chances;
}

int drawWeightedNote(RandomSource& random, int range, int prevNote, const NoteWeights& weights)
{
    const auto chances = noteChances(weights, range, prevNote);
    const double r = random.next();
    double sum = 0.0;
    int last = -1;
    for (int note = 0; note < range; ++note) {
        if (chances[std::size_t(note)] <= 0.0)
            continue;
        last = note;
        sum += chances[std::size_t(note)];
        if (r < sum)
            return note;
    }
    return last;  // r at the very top, short of 1 only by rounding
}

void ReaskSchedule::answered(int note, bool right, std::uint32_t question)
{
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(), [note](const Entry& e) { return e.note == note; });
    if (right) {
        // A right first answer ends the note's schedule, whether it was due or not.
        if (entry != m_entries.end())
            m_entries.erase(entry);
        return;
    }
    if (entry == m_entries.end()) {
        m_entries.push_back({note, question + 2, 2});
        return;
    }
    entry->interval = std::min<std::uint32_t>(entry->interval * 2, 8);
    entry->dueAt = question + entry->interval;
}

std::optional<int> ReaskSchedule::due(std::uint32_t question, int range, int prevNote) const
{
    const Entry* best = nullptr;
    for (const Entry& entry : m_entries) {
        if (entry.dueAt <= question && entry.note < range && entry.note != prevNote
            && (!best || entry.dueAt < best->dueAt))
            best = &entry;
    }
    return best ? std::optional<int>(best->note) : std::nullopt;
}

}  // namespace tonarika
