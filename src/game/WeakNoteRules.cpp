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
        if (!answer.right()) {
            weights.at(answer.asked) += kMissedWeight;
            if (answer.answered != answer.asked)
                weights.at(answer.answered) += kTakenForWeight;
        } else if (answer.reactionMs && *answer.reactionMs > kSlowMs) {
            weights.at(answer.asked) += kSlowWeight;
        }
    }
    return weights;
}

std::array<double, kNoteCount> noteChances(const NoteWeights& weights, NoteSet among, int prevNote)
{
    std::array<double, kNoteCount> chances{};
    std::vector<int> notes;
    for (int note = 0; note < kNoteCount; ++note) {
        if (among.contains(note) && note != prevNote)
            notes.push_back(note);
    }
    if (notes.empty())
        return chances;
    const double even = 1.0 / double(notes.size());
    const double least = kLeastShare * even;
    const double most = std::max(kMostShare, even);
    // Each chance is its weight times one factor, held between the least and the most
    // share; the sum of them grows with the factor, from at most 1 (every note at the
    // least) to at least 1 (every note at the most), and halving finds the factor that
    // makes it 1. A weight of nothing still counts for a little, so that every note can
    // reach the most.
    const auto weight = [&](int note) { return std::max(weights[std::size_t(note)], 1e-9); };
    const auto chancesFor = [&](double factor) {
        double sum = 0.0;
        for (const int note : notes) {
            chances[std::size_t(note)] = std::clamp(factor * weight(note), least, most);
            sum += chances[std::size_t(note)];
        }
        return sum;
    };
    double low = 0.0;
    double high = 1.0;
    for (int step = 0; step < 2000 && chancesFor(high) < 1.0 - 1e-12; ++step)
        high *= 2.0;
    for (int step = 0; step < 100; ++step) {
        const double middle = (low + high) / 2.0;
        (chancesFor(middle) < 1.0 ? low : high) = middle;
    }
    const double sum = chancesFor(high);
    for (const int note : notes)
        chances[std::size_t(note)] /= sum;
    return chances;
}

int drawWeightedNote(RandomSource& random, NoteSet notes, int prevNote, const NoteWeights& weights)
{
    const auto chances = noteChances(weights, notes, prevNote);
    const double r = random.next();
    double sum = 0.0;
    int last = -1;
    for (int note = 0; note < kNoteCount; ++note) {
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

std::optional<int> ReaskSchedule::due(std::uint32_t question, NoteSet notes, int prevNote) const
{
    const Entry* best = nullptr;
    for (const Entry& entry : m_entries) {
        if (entry.dueAt <= question && notes.contains(entry.note) && entry.note != prevNote
            && (!best || entry.dueAt < best->dueAt))
            best = &entry;
    }
    return best ? std::optional<int>(best->note) : std::nullopt;
}

}  // namespace tonarika
