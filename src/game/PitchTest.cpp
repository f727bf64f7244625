#include "PitchTest.h"

// own
#include "LearnedRule.h"
#include "Rules.h"

// std
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tonarika {

std::string decimals(double value, const std::string& separator)
{
    const auto hundredths = std::llround(value * 100.0);
    std::string text = std::to_string(hundredths / 100);
    const auto rest = hundredths % 100;
    if (rest != 0) {
        text += separator + std::to_string(rest / 10);
        if (rest % 10 != 0)
            text += std::to_string(rest % 10);
    }
    return text;
}

std::vector<NoteSound> pitchTestItems(RandomSource& random)
{
    std::vector<NoteSound> all;
    for (const Timbre timbre : {Timbre::Sine, Timbre::Piano}) {
        for (int octave = kLowestOctave; octave <= kHighestOctave; ++octave) {
            for (int note = 0; note < kNoteCount; ++note)
                all.push_back({NoteIndex(note), timbre, octave});
        }
    }
    // A random order one item at a time, among those far enough from the last. Where none
    // is left far enough, each item left goes in at a random place between two it is far
    // enough from; only where one has no such place does the order begin again.
    const auto far = [](const NoteSound& a, const NoteSound& b) { return std::abs(midiKey(a) - midiKey(b)) >= kPitchTestLeap; };
    const auto pick = [&random](std::size_t count) { return std::size_t(noteFromRandom(random.next(), int(count))); };
    for (;;) {
        std::vector<NoteSound> left = all;
        std::vector<NoteSound> order;
        while (!left.empty()) {
            std::vector<std::size_t> allowed;
            for (std::size_t i = 0; i < left.size(); ++i) {
                if (order.empty() || far(left[i], order.back()))
                    allowed.push_back(i);
            }
            if (allowed.empty())
                break;
            const std::size_t chosen = allowed.at(pick(allowed.size()));
            order.push_back(left[chosen]);
            left.erase(left.begin() + std::ptrdiff_t(chosen));
        }
        for (const NoteSound& item : left) {
            std::vector<std::size_t> places;
            for (std::size_t at = 0; at <= order.size(); ++at) {
                if ((at == 0 || far(order[at - 1], item)) && (at == order.size() || far(item, order[at])))
                    places.push_back(at);
            }
            if (places.empty())
                break;
            order.insert(order.begin() + std::ptrdiff_t(places.at(pick(places.size()))), item);
        }
        if (order.size() == all.size())
            return order;
    }
}

double pitchTestPoints(NoteIndex asked, NoteIndex answered)
{
    const int apart = std::abs(kSemitone.at(asked) - kSemitone.at(answered));
    const int around = std::min(apart, 12 - apart);
    return around == 0 ? 1.0 : around == 1 ? 0.75 : 0.0;
}

std::optional<PitchTestResult> pitchTestResult(const std::vector<PitchTestAnswer>& answers)
{
    if (answers.size() < std::size_t(kPitchTestItems))
        return std::nullopt;
    PitchTestResult result;
    int semitoneOff = 0;
    std::vector<std::uint32_t> times;
    for (const PitchTestAnswer& answer : answers) {
        const double points = pitchTestPoints(answer.item.note, answer.answered);
        (answer.item.timbre == Timbre::Sine ? result.pureTone : result.piano) += points;
        result.missed.at(answer.item.note) += answer.answered != answer.item.note;
        semitoneOff += points == 0.75;
        if (answer.reactionMs)
            times.push_back(*answer.reactionMs);
    }
    result.semitoneShare = 100.0 * semitoneOff / double(answers.size());
    result.medianMs = medianMs(std::move(times));
    return result;
}

std::string pitchTestResultText(const PitchTestResult& result, int a4, const std::string& separator, NoteNaming naming,
                                const Wording& wording)
{
    const auto line = [&wording](std::string_view text, std::initializer_list<std::string_view> args) {
        return worded(wording, text, args) + "\n";
    };
    const std::string pureTone = decimals(result.pureTone, separator);
    const std::string reference = decimals(kPitchTestReference, separator);
    std::string text = line(QT_TRANSLATE_NOOP("Game", "テストの結果 (A4 = %1 Hz)"), {std::to_string(a4)});
    text += line(QT_TRANSLATE_NOOP("Game", "純音: %1 / 36"), {pureTone});
    text += line(QT_TRANSLATE_NOOP("Game", "ピアノ: %1 / 36"), {decimals(result.piano, separator)});
    text += line(QT_TRANSLATE_NOOP("Game", "半音違いの答え: %1 %"), {decimals(result.semitoneShare, separator)});
    const std::string median =
        result.medianMs
            ? worded(wording, QT_TRANSLATE_NOOP("Game", "%1 秒"), {decimals(std::round(*result.medianMs / 100.0) / 10.0, separator)})
            : std::string("―");
    text += line(QT_TRANSLATE_NOOP("Game", "反応時間の中央値: %1"), {median});
    text += line(QT_TRANSLATE_NOOP("Game", "目安: 研究では、純音で %1 / 36 以上を最もはっきりした絶対音感の群としています（診断ではありません）"),
                 {reference});
    text += line(result.pureTone >= kPitchTestReference ? QT_TRANSLATE_NOOP("Game", "純音 %1 / 36: 研究の目安 %2 に届いています")
                                                        : QT_TRANSLATE_NOOP("Game", "純音 %1 / 36: 研究の目安 %2 にはまだ届きません"),
                 {pureTone, reference});
    const std::string missed = mostMissedText(result.missed, naming, wording);
    text += missed.empty() ? worded(wording, QT_TRANSLATE_NOOP("Game", "間違えた音はありません"))
                           : worded(wording, QT_TRANSLATE_NOOP("Game", "よく間違えた音: %1"), {missed});
    return text;
}

std::string mostMissedText(const std::array<int, kNoteCount>& missed, NoteNaming naming, const Wording& wording)
{
    std::array<int, kNoteCount> order{};
    for (int i = 0; i < kNoteCount; ++i)
        order.at(std::size_t(i)) = i;
    std::stable_sort(order.begin(), order.end(), [&missed](int a, int b) { return missed.at(std::size_t(a)) > missed.at(std::size_t(b)); });
    std::string text;
    for (std::size_t i = 0; i < 3; ++i) {
        const int note = order.at(i);
        if (missed.at(std::size_t(note)) == 0)
            break;
        if (!text.empty())
            text += wording.lookUp(QT_TRANSLATE_NOOP("Game", "、"));
        text += worded(wording, QT_TRANSLATE_NOOP("Game", "%1 %2 回"),
                       {noteName(NoteIndex(note), naming), std::to_string(missed.at(std::size_t(note)))});
    }
    return text;
}

std::string pitchTestIntroText(const Wording& wording)
{
    return worded(wording,
                  QT_TRANSLATE_NOOP("Game", "絶対音感のテスト\n"
                                            "ほかの音を手がかりにせずに、聞こえた音の名前を当てられるかを測ります。\n"
                                            "全部で %1 問、約 10 分です。"
                                            "それぞれの音は 1 回だけ鳴り、前に短い音の列が鳴ります。\n"
                                            "正しかったかどうかは、最後まで表示されません。\n"
                                            "Listen で始めます。"),
                  {std::to_string(kPitchTestItems)});
}

}  // namespace tonarika
