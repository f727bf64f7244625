#pragma once

// own
#include "NoteNames.h"
#include "ScoreRecord.h"

// Qt
#include <QDate>
#include <QString>

// std
#include <cstdint>
#include <optional>
#include <vector>

namespace tonarika {

class ModeSeries;

inline constexpr int kMovingAverageRuns = 10;
inline constexpr int kBestRunMinimumQuestions = 10;

// The mean of each run's rate over that run and the runs before it, at most `window`.
std::vector<double> movingAverage(const std::vector<double>& rates, int window = kMovingAverageRuns);

// A rate over some runs, and how many runs it comes from.
struct RateOfRuns {
    std::optional<double> rate;  // nothing without a question
    int runs = 0;
};

// The figures of one mode's column.
struct ModeSummary {
    int runs = 0;
    std::uint64_t questions = 0;
    std::uint64_t misses = 0;
    std::optional<double> rate;  // over all its questions
    std::optional<ScoreRecord> bestRun;  // the highest rate of a run of 10 questions or more
    RateOfRuns lastWeek;    // today and the 6 days before
    RateOfRuns weekBefore;  // the 7 days before those
    std::uint64_t questionsToday = 0;
};

// The runs of `mode` among `records` (in time order), summed up as of `today`. A run
// dated after today counts in the totals but in no week.
ModeSummary summarize(const std::vector<ScoreRecord>& records, const QString& mode, const QDate& today);

// "85.0 %", with the locale's decimal separator; "―" for no rate.
QString percentText(std::optional<double> rate);
// "2.4 秒", a tenth of a second with the locale's separator; "―" for no time.
QString secondsText(std::optional<double> ms);
// A note's name as the pages show it, in the names the settings choose, and a text of the
// game's own, as Qt's text.
QString noteText(int note);
void setNoteNaming(NoteNaming naming);
NoteNaming noteNaming();
// One of the game's own texts (a mode's or a timbre's name) in the language set now.
QString gameText(std::string_view text);
QString qtText(std::string_view text);
// "90.0 % (2 回)": a rate and the runs it comes from.
QString rateOfRunsText(const RateOfRuns& rate);
// "2026/11/27 19:30", as the window shows every date and time.
QString dateTimeText(const QDateTime& when);

// What the chart shows of one mode over the time [from, to], in words for a screen
// reader: its runs, the latest 10-run average, and how that changed over the time.
QString chartSummary(const QString& mode, const ModeSeries& series, std::int64_t from, std::int64_t to);

}  // namespace tonarika
