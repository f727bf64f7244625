#pragma once

// own
#include "Note.h"
#include "NoteNames.h"
#include "RandomSource.h"
#include "Timbre.h"
#include "Wording.h"

// std
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tonarika {

// The test of absolute pitch the genetic studies use, scored their way: every note of
// octaves 3 to 5 once as a pure tone and once on the piano, in a random order with the two
// timbres mixed, each item more than an octave from the one before, the guard's tones
// before each; a point for the note, three quarters for a semitone off either way round
// the octave, nothing otherwise, out of 36 for each timbre.
inline constexpr int kPitchTestItemsPerTimbre = 36;
inline constexpr int kPitchTestItems = 2 * kPitchTestItemsPerTimbre;
inline constexpr int kPitchTestLeap = 13;  // semitones at least between two items in a row
// The published cut-off on the pure tones for the clearest class: a reference, no diagnosis.
inline constexpr double kPitchTestReference = 24.5;

// The 72 items in an order that keeps every item at least kPitchTestLeap semitones from the
// one before; the pure tone and the piano of each note of octaves 3 to 5 once each.
std::vector<NoteSound> pitchTestItems(RandomSource& random);

// An answer's points: 1 for the note, 0.75 for a semitone off either way (シ for ド too), 0.
double pitchTestPoints(NoteIndex asked, NoteIndex answered);

// One answer of the test, as the result needs it.
struct PitchTestAnswer {
    NoteSound item;
    NoteIndex answered = 0;
    std::optional<std::uint32_t> reactionMs;
};

struct PitchTestResult {
    double pureTone = 0;  // of 36
    double piano = 0;     // of 36
    double semitoneShare = 0;  // of all answers, a semitone off, in percent
    std::optional<double> medianMs;
    std::array<int, kNoteCount> missed{};  // by note asked: the answers that named another
};

// The result of a whole test; nothing for one with fewer answers than items, which is kept
// but not scored.
std::optional<PitchTestResult> pitchTestResult(const std::vector<PitchTestAnswer>& answers);

// What the result view says, a line each: "純音: 27.25 / 36", "ピアノ: 30 / 36", the share a
// semitone off, the median reaction time, and the reference at `a4`.
// A score with at most two decimals, none where they are nought: "27.25", "30", "24.5".
std::string decimals(double value, const std::string& separator);

// Then where the pure tones stand against the reference, in one sentence ("純音 18.25 / 36:
// 研究の目安 24.5 にはまだ届きません"), and the notes missed most.
std::string pitchTestResultText(const PitchTestResult& result, int a4, const std::string& decimalSeparator,
                                NoteNaming naming = {}, const Wording& wording = ownWording());

// The notes missed most, most first and at most three, by the note table's order where as
// often: "ミ 4 回、ﾌｧ# 3 回"; empty where none was missed.
std::string mostMissedText(const std::array<int, kNoteCount>& missed, NoteNaming naming = {},
                           const Wording& wording = ownWording());

// What the test is, said before its first item.
std::string pitchTestIntroText(const Wording& wording = ownWording());

}  // namespace tonarika
