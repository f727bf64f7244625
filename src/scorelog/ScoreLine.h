#pragma once

// own
#include "ScoreLog.h"

// Qt
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace tonarika {

// Fields after the first start on a print zone: a multiple of this many characters.
inline constexpr int kPrintZone = 14;

// The three lines written once, when the score file is created, each ending in CR LF.
QString scoreHead();

// Spaces that take a line of `length` characters to the next print zone
// (none when it already stands on one).
QString zonePad(qsizetype length);

// The pad before the rate: right-aligns 100.0 %, 70.0 % and 5.0 %. It follows the
// exact rate, not the one-decimal caption.
QString ratePad(double rate);

// One score record, without its line end: the date, weekday and time of `when` as
// `locale` writes them, the mode, the misses and questions, the rate caption.
QString scoreLine(const ScoreRun& run, const QDateTime& when, const QLocale& locale);

}  // namespace tonarika
