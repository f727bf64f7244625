#pragma once

// Qt
#include <QDateTime>
#include <QString>

// std
#include <cstdint>

namespace tonarika {

// One finished run as the score log holds it.
struct ScoreRecord {
    // The date and time the log gives, to the minute. They are wall-clock values with no
    // zone, held as UTC so that nothing converts them (and no time zone file is read).
    QDateTime when;
    QString mode;    // "Easy" or "Hard"
    std::uint32_t misses = 0;
    std::uint32_t questions = 0;  // at least 1, at least misses

    // Recomputed from the counts, which are the truth; the printed rate is not read.
    double rate() const { return double(questions - misses) / double(questions) * 100.0; }
    friend bool operator==(const ScoreRecord&, const ScoreRecord&) = default;
};

}  // namespace tonarika
