#include "ScoreLogParser.h"

// own
#include "ScoreLine.h"

// Qt
#include <QRegularExpression>

// std
#include <algorithm>
#include <array>
#include <bit>

namespace tonarika {

namespace {

const QString kFieldOneEnd = QStringLiteral("\u3000\u3000");

// Where the next field starts after a line of `position` characters, as the writer
// pads it.
qsizetype nextZone(qsizetype position)
{
    return position + zonePad(position).size();
}

bool onlySpaces(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

std::uint8_t bit(DateOrder order)
{
    return static_cast<std::uint8_t>(order);
}

std::uint8_t dayBit(int dayOfWeek)
{
    return static_cast<std::uint8_t>(1u << dayOfWeek);
}

// The days each short weekday name stands for, in any locale Qt knows: a name may
// stand for different days in different languages.
const std::unordered_map<QString, std::uint8_t>& weekdaysOfEveryLocale()
{
    static const auto names = [] {
        std::unordered_map<QString, std::uint8_t> all;
        for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            for (int day = 1; day <= 7; ++day)
                all[locale.dayName(day, QLocale::ShortFormat)] |= dayBit(day);
        }
        return all;
    }();
    return names;
}

std::uint8_t weekdaysIn(const QLocale& locale, const QString& name)
{
    std::uint8_t days = 0;
    for (int day = 1; day <= 7; ++day) {
        if (locale.dayName(day, QLocale::ShortFormat) == name)
            days |= dayBit(day);
    }
    return days;
}

// A numeric date split into its three numbers, as ASCII digits whatever the script,
// and the one separator between them: "/", "-" or ".", with spaces after it allowed and
// a "." after the last number, as Korean and Hungarian dates have them.
struct NumericDate {
    std::array<int, 3> numbers{};
    std::array<int, 3> lengths{};
    QChar separator;
};

std::optional<NumericDate> numericDate(const QString& text)
{
    NumericDate date;
    int group = -1;
    bool expectNumber = true;
    bool trailing = false;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Format || c == u' ')
            continue;  // the direction marks of right-to-left scripts, and Korean spacing
        if (c.isDigit()) {
            if (trailing)
                return std::nullopt;
            if (expectNumber) {
                if (++group > 2)
                    return std::nullopt;
                expectNumber = false;
            }
            if (++date.lengths[size_t(group)] > 4)
                return std::nullopt;
            date.numbers[size_t(group)] = date.numbers[size_t(group)] * 10 + c.digitValue();
        } else if ((c == u'/' || c == u'-' || c == u'.') && !expectNumber && !trailing
                   && (date.separator.isNull() || c == date.separator)) {
            date.separator = c;
            if (group == 2)
                trailing = true;  // "2025. 03. 05."
            else
                expectNumber = true;
        } else {
            return std::nullopt;
        }
    }
    if (group != 2 || expectNumber || (trailing && date.separator != u'.'))
        return std::nullopt;
    return date;
}

// A year of four digits as it is, of two as this century's, as the game has only ever
// run in it; any other length is no year.
std::optional<int> yearOf(int number, int length)
{
    if (length == 4)
        return number;
    if (length == 2)
        return 2000 + number;
    return std::nullopt;
}

// Short formats with a month's name, besides the reader's own: the C locale's.
const QStringList kNamedDateFormats{QStringLiteral("d MMM yyyy")};

}  // namespace

DateOrder ScoreLogParser::orderOf(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = format.indexOf(u'd'), month = format.indexOf(u'M'), year = format.indexOf(u'y');
    if (year >= 0 && year < day && year < month)
        return DateOrder::YearFirst;
    return day >= 0 && (month < 0 || day < month) ? DateOrder::DayFirst : DateOrder::MonthFirst;
}

ScoreLogParser::ScoreLogParser(QLocale locale)
    : m_locale(std::move(locale))
    , m_order(orderOf(m_locale))
{
}

std::uint8_t ScoreLogParser::daysNamed(const QString& weekday) const
{
    // The reader's own language first, then the game's and English; only a name none of
    // them has is looked up in every language, where it may mean more than one day.
    for (const QLocale& locale : {m_locale, QLocale(QLocale::Japanese, QLocale::Japan), QLocale::c()}) {
        if (const std::uint8_t days = weekdaysIn(locale, weekday))
            return days;
    }
    const auto& every = weekdaysOfEveryLocale();
    const auto found = every.find(weekday);
    return found == every.end() ? 0 : found->second;
}

std::vector<DateReading> ScoreLogParser::readingsOf(const QString& text, QString& shape) const
{
    std::vector<DateReading> readings;
    const auto add = [&readings](int year, int month, int day, DateOrder order) {
        const QDate date(year, month, day);
        if (date.isValid())
            readings.push_back({date, bit(order)});
    };
    if (const auto numeric = numericDate(text)) {
        const auto& [n, length, separator] = *numeric;
        shape = QStringLiteral("%1%2.%3.%4").arg(separator).arg(length[0]).arg(length[1]).arg(length[2]);
        if (const auto year = yearOf(n[0], length[0]); year && length[1] <= 2 && length[2] <= 2)
            add(*year, n[1], n[2], DateOrder::YearFirst);
        if (const auto year = yearOf(n[2], length[2]); year && length[0] <= 2 && length[1] <= 2) {
            add(*year, n[1], n[0], DateOrder::DayFirst);
            add(*year, n[0], n[1], DateOrder::MonthFirst);
        }
        return readings;
    }
    // Month names: the reader's own format and the C locale's.
    shape = QStringLiteral("named");
    QStringList formats{m_locale.dateFormat(QLocale::ShortFormat)};
    formats += kNamedDateFormats;
    for (const QString& format : formats) {
        for (const QLocale& locale : {QLocale::c(), m_locale}) {
            QDate date = locale.toDate(text, format);
            if (!date.isValid())
                continue;
            // Two-digit years are this century's, as the game has only ever run in it.
            if (date.year() < 2000 && !format.contains(QStringLiteral("yyyy")))
                date = date.addYears(100);
            readings.push_back({date, bit(DateOrder::Named)});
        }
    }
    return readings;
}

const ScoreLogParser::Date& ScoreLogParser::readDate(const QString& text, const QString& weekday) const
{
    const auto key = text + u'\n' + weekday;
    if (const auto found = m_dates.find(key); found != m_dates.end())
        return found->second;
    Date date;
    const std::uint8_t days = daysNamed(weekday);
    for (const DateReading& reading : readingsOf(text, date.shape)) {
        if (!(days & dayBit(reading.date.dayOfWeek())))
            continue;
        // One date read two ways (05/05) is one reading in both orders.
        const auto same = std::find_if(date.readings.begin(), date.readings.end(),
                                       [&reading](const DateReading& r) { return r.date == reading.date; });
        if (same == date.readings.end())
            date.readings.push_back(reading);
        else
            same->orders |= reading.orders;
    }
    return m_dates.emplace(key, std::move(date)).first->second;
}

std::optional<QDate> ScoreLogParser::decide(const Line& line, const DateEvidence& evidence) const
{
    const auto in = [&line](DateOrder order) -> std::optional<QDate> {
        for (const DateReading& reading : line.readings) {
            if (reading.orders & bit(order))
                return reading.date;
        }
        return std::nullopt;
    };
    const std::uint8_t used = evidence.orders(line.shape);
    for (const DateOrder order : {DateOrder::DayFirst, DateOrder::MonthFirst, DateOrder::YearFirst}) {
        if (used == bit(order))
            if (const auto date = in(order))
                return date;
    }
    if (const auto date = in(m_order))
        return date;
    if (line.shape.startsWith(u'.') || line.shape.startsWith(u'-'))
        return in(DateOrder::DayFirst);
    return std::nullopt;
}

ScoreLogParser::Line ScoreLogParser::parse(const QString& line) const
{
    if (line.trimmed().isEmpty() || line.startsWith(QStringLiteral("//\u3000「 Tonarika 」"))
        || line.startsWith(QStringLiteral("-日付-")))
        return {Kind::Head, std::nullopt, {}, {}};

    static const QRegularExpression fieldOne(QStringLiteral("^(.+)\\((.+)\\) ([0-2][0-9]):([0-5][0-9])$"));
    static const QRegularExpression counts(QStringLiteral("^\u3000( ?)([0-9]+)/( ?)([0-9]+) 回"));
    static const QRegularExpression rate(QStringLiteral("^[0-9]+[.,][0-9] %$"));

    const qsizetype end = line.indexOf(kFieldOneEnd);
    if (end < 0)
        return {};
    const auto head = fieldOne.match(line.left(end));
    if (!head.hasMatch())
        return {};
    const Date& date = readDate(head.captured(1), head.captured(2));
    const QTime time(head.captured(3).toInt(), head.captured(4).toInt());
    if (date.readings.empty() || !time.isValid())
        return {};

    // The mode runs up to the spaces that lead to field 2's print zone.
    const qsizetype modeStart = end + kFieldOneEnd.size();
    qsizetype modeEnd = modeStart;
    while (modeEnd < line.size() && line[modeEnd] != u' ' && line[modeEnd] != u'\u3000')
        ++modeEnd;
    const QString mode = line.mid(modeStart, modeEnd - modeStart);
    if (mode != QLatin1String("Easy") && mode != QLatin1String("Hard"))
        return {};
    const qsizetype fieldTwo = nextZone(modeEnd);
    if (fieldTwo >= line.size() || !onlySpaces(QStringView(line).mid(modeEnd, fieldTwo - modeEnd)))
        return {};
    const auto numbers = counts.match(QStringView(line).mid(fieldTwo));
    if (!numbers.hasMatch())
        return {};
    bool missesRead = false, questionsRead = false;
    const auto misses = numbers.captured(2).toUInt(&missesRead);
    const auto questions = numbers.captured(4).toUInt(&questionsRead);
    // The pads right-align counts below 10, and only those.
    if (!missesRead || !questionsRead || questions == 0 || misses > questions
        || numbers.captured(1).isEmpty() != (misses >= 10) || numbers.captured(3).isEmpty() != (questions >= 10))
        return {};
    const qsizetype fieldTwoEnd = fieldTwo + numbers.capturedLength(0);
    const qsizetype fieldThree = nextZone(fieldTwoEnd);
    ScoreRecord record{QDateTime(date.readings.front().date, time, Qt::UTC), mode, misses, questions};
    // The rate's pad follows the exact rate, so the rate itself starts at a known place.
    const qsizetype rateStart = fieldThree + ratePad(record.rate()).size();
    if (rateStart >= line.size() || !onlySpaces(QStringView(line).mid(fieldTwoEnd, rateStart - fieldTwoEnd))
        || !rate.match(QStringView(line).mid(rateStart)).hasMatch())
        return {};
    return {date.readings.size() == 1 ? Kind::Record : Kind::Undecided, record, date.readings, date.shape};
}

void DateEvidence::note(const ScoreLogParser::Line& line)
{
    // Only a date that was read one way tells the way its log writes dates.
    if (line.kind == ScoreLogParser::Kind::Record && line.readings.size() == 1
        && std::has_single_bit(line.readings.front().orders))
        m_orders[line.shape] |= line.readings.front().orders;
}

std::uint8_t DateEvidence::orders(const QString& shape) const
{
    const auto found = m_orders.find(shape);
    return found == m_orders.end() ? 0 : found->second;
}

}  // namespace tonarika
