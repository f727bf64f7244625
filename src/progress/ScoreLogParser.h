#pragma once

// own
#include "ScoreRecord.h"

// Qt
#include <QLocale>
#include <QString>

// std
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tonarika {

class DateEvidence;

// How the numbers of a date stand; a bit each, so that a log's orders add up in a mask.
enum class DateOrder : std::uint8_t { DayFirst = 1, MonthFirst = 2, YearFirst = 4, Named = 8 };

// One date a date's text can be read as, and the orders that read it so (05/05/2025
// is the fifth of May day first and month first).
struct DateReading {
    QDate date;
    std::uint8_t orders = 0;  // DateOrder bits
    friend bool operator==(const DateReading&, const DateReading&) = default;
};

// Reads a line of the score log by its layout: field 1 up to the two ideographic spaces
// (the short date, the weekday in parentheses, the time), the mode, then the counts from
// field 2's print zone and the rate from field 3's. A line that does not follow the
// layout is unreadable; nothing is guessed.
//
// A date is read every way a locale writes one: day, month or year first, with "/",
// "-" or ".", in any script's digits, or with a month's name. Each reading must fall on
// the weekday written beside it, in the language of any locale Qt knows. Where more
// than one reading is left, the line is undecided, and decide() settles it.
class ScoreLogParser {
public:
    enum class Kind { Record, Undecided, Head, Unreadable };
    struct Line {
        Kind kind = Kind::Unreadable;
        // The run; an undecided line's date is its first reading's until decided.
        std::optional<ScoreRecord> record;
        // The readings the weekday leaves: one for a record, several for an undecided line.
        std::vector<DateReading> readings;
        // The date's separator and the lengths of its numbers ("/2.2.4"): the same writer
        // gives the same shape.
        QString shape;
    };

    // Dates are read with `locale`, the reader's, first.
    explicit ScoreLogParser(QLocale locale = QLocale::system());

    Line parse(const QString& line) const;

    // The date of an undecided line: the reading in the one order the same log used for
    // dates of its shape, or else the one the reader's locale writes, or else the
    // day-first one for "." and "-". Nothing where none of them decides.
    std::optional<QDate> decide(const Line& line, const DateEvidence& evidence) const;

    // The order in which a locale writes a short date.
    static DateOrder orderOf(const QLocale& locale);

private:
    struct Date {
        std::vector<DateReading> readings;  // on the weekday, one per date
        QString shape;
    };
    const Date& readDate(const QString& text, const QString& weekday) const;
    std::vector<DateReading> readingsOf(const QString& text, QString& shape) const;
    std::uint8_t daysNamed(const QString& weekday) const;

    QLocale m_locale;
    DateOrder m_order;
    mutable std::unordered_map<QString, Date> m_dates;  // a log holds many runs a day
};

// The orders in which one log's dates were read, by shape, from the lines that had one
// reading only: what decides the lines that had several.
class DateEvidence {
public:
    void note(const ScoreLogParser::Line& line);
    std::uint8_t orders(const QString& shape) const;
    void clear() { m_orders.clear(); }

private:
    std::unordered_map<QString, std::uint8_t> m_orders;
};

}  // namespace tonarika
