#pragma once

// own
#include "JournalReader.h"
#include "LearnedRule.h"

// Qt
#include <QDate>
#include <QString>

// std
#include <array>
#include <optional>
#include <vector>

namespace tonarika {

// The stretches of time the notes' page shows: today, the 7 or 30 days up to today, or all.
enum class Period { Today, Week, Month, All };
// Which mode's trials: Easy's, Hard's, or both.
// Both: Easy and Hard, as 音ごと shows them (never the sung answers, which name no key).
// Sung: the notes sung. Every: the test's and the sung answers too, as the CSV keeps them.
enum class ModeChoice { Easy, Hard, Both, Every, Sung };
bool chosenMode(ModeChoice choice, Mode mode);

// Learned beyond one sound: learned, with those last 20 questions asked in at least this
// many timbres and octaves.
inline constexpr int kAcrossTimbres = 3;
inline constexpr int kAcrossOctaves = 2;

// The day a trial was answered on, where the player was.
QDate localDate(const Trial& row);

// The trials of a period and a mode, as of `today`, in the order answered. A trial dated
// after today is in no period but "all".
// `timbre`: only the trials asked in it.
std::vector<const Trial*> selectTrials(const std::vector<Trial>& rows, Period period, ModeChoice mode,
                                          const QDate& today, std::optional<Timbre> timbre = std::nullopt);

// How many semitones apart two notes are, the shorter way round the octave (0 to 6).
int semitonesApart(int a, int b);

struct NoteFigures {
    int questions = 0;
    int right = 0;  // at the first answer
    std::optional<double> rightRate;  // percent
    std::optional<double> medianMs;   // of the right first answers
    bool learned = false;
    bool learnedAcross = false;  // and in timbres and octaves enough
    int timbres = 0;             // how many it was asked in
    int octaves = 0;
    // Of its last kLearnedQuestions, or of all where it has fewer.
    int lastRight = 0;
    std::optional<double> lastMedianMs;  // of those answered right
    // How many more answers, each right, the first two parts of the rule still need: the
    // questions it lacks, or the right answers its last kLearnedQuestions lack, the more.
    int rightNeeded = 0;
};

// How far a note is from learned, in the part or parts of the rule it misses: "あと 3 問"
// (right answers still needed), "直近20問: 16/20", "中央値 2.4 秒 → 2 秒以下"; empty for
// a learned note.
QString learnedDistance(const NoteFigures& note);

// The rule, as the headline's and the marks' tool tips state it.
QString learnedRule();

struct KeyColourFigures {
    std::optional<double> rightRate;
    std::optional<double> medianMs;
};

// What the notes' page shows of some trials.
struct NoteStatistics {
    std::array<NoteFigures, 12> notes;  // by note index
    int learned = 0;
    int learnedAcross = 0;
    std::array<std::array<int, 12>, 12> confusion{};  // [asked][answered]
    KeyColourFigures white;
    KeyColourFigures black;
    std::optional<double> semitoneShare;  // of the wrong answers, one semitone off; percent
    std::optional<double> meanErrorSemitones;  // of the wrong answers
    std::vector<std::pair<QDate, double>> dailyMedianMs;  // right first answers, per day
    std::vector<int> dailyAnswers;                         // how many answers each median is of
};

// `trials` in the order answered.
NoteStatistics noteStatistics(const std::vector<const Trial*>& trials);

// Where each note stands by the learned rule, as the game's growing set judges it: in a
// mode of its own, from that mode's answers alone. For Easy and Hard together, each note
// as it stands in the mode it is learned in (Hard first), else in the mode it was asked
// more in; `modeOf` says which. Every answer counts, whatever its period and timbre.
struct LearnedState {
    NoteStatistics statistics;
    std::array<std::optional<Mode>, kNoteCount> modeOf{};
};
LearnedState learnedState(const std::vector<Trial>& rows, ModeChoice mode, const QDate& today);

}  // namespace tonarika
