#pragma once

// own
#include "ScoreRecord.h"

// Qt
#include <QLocale>
#include <QString>

// std
#include <optional>
#include <unordered_map>
#include <vector>

namespace tonarika {

// Reads a line of the score log by its layout: field 1 up to the two ideographic spaces
// (the short date, the weekday in parentheses, the time), the mode, then the counts from
// field 2's print zone and the rate from field 3's. A line that does not follow the
// layout is unreadable; nothing is guessed.
class ScoreLogParser {
public:
    enum class Kind { Record, Head, Unreadable };
    struct Line {
        Kind kind = Kind::Unreadable;
        std::optional<ScoreRecord> record;
    };

    // Dates are read in `locale`'s short format first, then in the usual short formats
    // of other locales.
    explicit ScoreLogParser(QLocale locale = QLocale::system());

    Line parse(const QString& line) const;

private:
    std::optional<QDate> parseDate(const QString& date, const QString& weekday) const;
    std::vector<QDate> readings(const QString& date) const;
    std::optional<QDate> byWeekday(const std::vector<QDate>& readings, const QString& weekday) const;

    QLocale m_locale;
    std::vector<QLocale> m_weekdayLocales;
    mutable std::unordered_map<QString, std::optional<QDate>> m_dates;
};

}  // namespace tonarika
