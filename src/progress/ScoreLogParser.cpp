#include "ScoreLogParser.h"

// own
#include "ScoreLine.h"

// Qt
#include <QRegularExpression>

// std
#include <algorithm>

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

// Short formats with a month's name, besides the locale's own: the C locale's.
const QStringList kNamedDateFormats{QStringLiteral("d MMM yyyy")};

}  // namespace

ScoreLogParser::ScoreLogParser(QLocale locale)
    : m_locale(std::move(locale))
    , m_weekdayLocales{m_locale, QLocale(QLocale::Japanese, QLocale::Japan), QLocale(QLocale::English),
                       QLocale(QLocale::German), QLocale::c()}
{
}

// The readings of an all-numeric short date: year first with "/" or "-", day first
// with ".", month first with "/" (and day first with "/" where the locale writes so).
std::vector<QDate> numericReadings(const QString& text, bool localeDayFirst)
{
    QChar separator;
    for (const QChar c : text) {
        if (!c.isDigit()) {
            separator = c;
            break;
        }
    }
    const QStringList parts = text.split(separator);
    if (parts.size() != 3 || !(separator == u'/' || separator == u'-' || separator == u'.'))
        return {};
    int numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        numbers[i] = parts[i].toInt(&ok);
        if (!ok || parts[i].isEmpty() || parts[i].size() > 4 || parts[i].size() == 3)
            return {};
    }
    // Two-digit years are this century's, as the game has only ever run in it.
    const auto year = [&parts, &numbers](int i) { return parts[i].size() == 2 ? 2000 + numbers[i] : numbers[i]; };
    std::vector<QDate> readings;
    const auto add = [&readings](QDate date) {
        if (date.isValid() && std::find(readings.begin(), readings.end(), date) == readings.end())
            readings.push_back(date);
    };
    if (parts[0].size() == 4 && separator != u'.')
        add(QDate(numbers[0], numbers[1], numbers[2]));
    if (parts[0].size() <= 2 && parts[1].size() <= 2) {
        if (separator == u'.' || (separator == u'/' && localeDayFirst))
            add(QDate(year(2), numbers[1], numbers[0]));
        if (separator == u'/')
            add(QDate(year(2), numbers[0], numbers[1]));
    }
    return readings;
}

std::vector<QDate> ScoreLogParser::readings(const QString& text) const
{
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit() || c == u'/' || c == u'-' || c == u'.'; })) {
        const QString own = m_locale.dateFormat(QLocale::ShortFormat);
        return numericReadings(text, own.indexOf(u'd') < own.indexOf(u'M'));
    }
    // Month names: the locale's own format and the C locale's.
    QStringList formats{m_locale.dateFormat(QLocale::ShortFormat)};
    formats += kNamedDateFormats;
    std::vector<QDate> readings;
    for (const QString& format : formats) {
        QDate date = QLocale::c().toDate(text, format);
        if (!date.isValid())
            date = m_locale.toDate(text, format);
        if (!date.isValid())
            continue;
        // Two-digit years are this century's, as the game has only ever run in it.
        if (date.year() < 2000 && !format.contains(QStringLiteral("yyyy")))
            date = date.addYears(100);
        if (std::find(readings.begin(), readings.end(), date) == readings.end())
            readings.push_back(date);
    }
    return readings;
}

std::optional<QDate> ScoreLogParser::parseDate(const QString& text, const QString& weekday) const
{
    // A log holds many runs a day: each date is read once.
    const auto key = text + u'\n' + weekday;
    if (const auto found = m_dates.find(key); found != m_dates.end())
        return found->second;
    const std::vector<QDate> readings = this->readings(text);
    const std::optional<QDate> date = readings.size() == 1 ? readings.front() : byWeekday(readings, weekday);
    m_dates.emplace(key, date);
    return date;
}

std::optional<QDate> ScoreLogParser::byWeekday(const std::vector<QDate>& readings, const QString& weekday) const
{
    // Where formats disagree (3/4/05: March or April?), the weekday decides, or nothing does.
    std::vector<QDate> agreeing;
    for (const QDate& date : readings) {
        for (const QLocale& locale : m_weekdayLocales) {
            if (locale.dayName(date.dayOfWeek(), QLocale::ShortFormat) == weekday) {
                agreeing.push_back(date);
                break;
            }
        }
    }
    return agreeing.size() == 1 ? std::optional(agreeing.front()) : std::nullopt;
}

ScoreLogParser::Line ScoreLogParser::parse(const QString& line) const
{
    if (line.trimmed().isEmpty() || line.startsWith(QStringLiteral("//\u3000「 Tonarika 」"))
        || line.startsWith(QStringLiteral("-日付-")))
        return {Kind::Head, std::nullopt};

    static const QRegularExpression fieldOne(QStringLiteral("^(.+)\\((.+)\\) ([0-2][0-9]):([0-5][0-9])$"));
    static const QRegularExpression counts(QStringLiteral("^\u3000( ?)([0-9]+)/( ?)([0-9]+) 回"));
    static const QRegularExpression rate(QStringLiteral("^[0-9]+[.,][0-9] %$"));

    const qsizetype end = line.indexOf(kFieldOneEnd);
    if (end < 0)
        return {};
    const auto head = fieldOne.match(line.left(end));
    if (!head.hasMatch())
        return {};
    const auto date = parseDate(head.captured(1), head.captured(2));
    const QTime time(head.captured(3).toInt(), head.captured(4).toInt());
    if (!date || !time.isValid())
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
    ScoreRecord record{QDateTime(*date, time, Qt::UTC), mode, misses, questions};
    // The rate's pad follows the exact rate, so the rate itself starts at a known place.
    const qsizetype rateStart = fieldThree + ratePad(record.rate()).size();
    if (rateStart >= line.size() || !onlySpaces(QStringView(line).mid(fieldTwoEnd, rateStart - fieldTwoEnd))
        || !rate.match(QStringView(line).mid(rateStart)).hasMatch())
        return {};
    return {Kind::Record, record};
}

}  // namespace tonarika
