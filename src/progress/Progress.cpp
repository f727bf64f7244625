#include "Progress.h"

// own
#include "ModeSeries.h"
#include "Note.h"

// Qt
#include <QCoreApplication>
#include <QLocale>

// std
#include <atomic>
#include <algorithm>
#include <cmath>

namespace tonarika {

namespace {

std::optional<double> rateOf(std::uint64_t questions, std::uint64_t misses)
{
    if (questions == 0)
        return std::nullopt;
    return double(questions - misses) / double(questions) * 100.0;
}

// Counts runs into one stretch of days.
struct Stretch {
    std::uint64_t questions = 0;
    std::uint64_t misses = 0;
    int runs = 0;
    void add(const ScoreRecord& record)
    {
        questions += record.questions;
        misses += record.misses;
        ++runs;
    }
    RateOfRuns result() const { return {rateOf(questions, misses), runs}; }
};

QString oneDecimal(double value)
{
    return QLocale().toString(value, 'f', 1);
}

}  // namespace

std::vector<double> movingAverage(const std::vector<double>& rates, int window)
{
    std::vector<double> averages;
    averages.reserve(rates.size());
    double sum = 0;
    for (size_t i = 0; i < rates.size(); ++i) {
        sum += rates[i];
        if (i >= static_cast<size_t>(window))
            sum -= rates[i - static_cast<size_t>(window)];
        averages.push_back(sum / double(std::min(i + 1, static_cast<size_t>(window))));
    }
    return averages;
}

ModeSummary summarize(const std::vector<ScoreRecord>& records, const QString& mode, const QDate& today)
{
    ModeSummary summary;
    Stretch week, before;
    for (const ScoreRecord& record : records) {
        if (record.mode != mode)
            continue;
        ++summary.runs;
        summary.questions += record.questions;
        summary.misses += record.misses;
        if (record.questions >= kBestRunMinimumQuestions
            && (!summary.bestRun || record.rate() > summary.bestRun->rate()))
            summary.bestRun = record;
        const qint64 daysAgo = record.when.date().daysTo(today);
        if (daysAgo >= 0 && daysAgo < 7)
            week.add(record);
        else if (daysAgo >= 7 && daysAgo < 14)
            before.add(record);
        if (daysAgo == 0)
            summary.questionsToday += record.questions;
    }
    summary.rate = rateOf(summary.questions, summary.misses);
    summary.lastWeek = week.result();
    summary.weekBefore = before.result();
    return summary;
}

QString secondsText(std::optional<double> ms)
{
    return ms ? QLocale().toString(*ms / 1000.0, 'f', 1) + QCoreApplication::translate("Progress", " 秒") : QStringLiteral("―");
}

QString gameText(std::string_view text)
{
    // translate() wants the text ended by a NUL.
    return QCoreApplication::translate("Game", std::string(text).c_str());
}

QString qtText(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

namespace {

// Set and read on the window's thread; atomic all the same, for any reader elsewhere.
std::atomic<NoteNaming> g_naming{NoteNaming{}};

}  // namespace

void setNoteNaming(NoteNaming naming)
{
    g_naming.store(naming);
}

NoteNaming noteNaming()
{
    return g_naming.load();
}

QString noteText(int note)
{
    return qtText(noteName(NoteIndex(note), g_naming.load()));
}

QString percentText(std::optional<double> rate)
{
    return rate ? oneDecimal(*rate) + QStringLiteral(" %") : QStringLiteral("―");
}

QString rateOfRunsText(const RateOfRuns& rate)
{
    return rate.rate ? QCoreApplication::translate("Progress", "%1 (%2 回)").arg(percentText(rate.rate)).arg(rate.runs) : percentText(rate.rate);
}

QString dateTimeText(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

QString chartSummary(const QString& mode, const ModeSeries& series, std::int64_t from, std::int64_t to)
{
    const std::size_t first = series.firstAtOrAfter(from);
    const std::size_t end = series.firstAtOrAfter(to + 1);
    if (first >= end)
        return QCoreApplication::translate("Progress", "%1: 表示中の期間に記録はありません。").arg(mode);
    const double latest = series.average(end - 1);
    // A change that rounds to nothing reads as 0.0, not as -0.0.
    double change = latest - series.average(first);
    if (std::abs(change) < 0.05)
        change = 0.0;
    const QString sign = change > 0.0 ? QStringLiteral("+") : QString();
    return QCoreApplication::translate("Progress", "%1: 表示中の期間に %2 回。直近10回の平均 %3、期間の初めから %4%5 ポイント。")
        .arg(mode)
        .arg(end - first)
        .arg(percentText(latest), sign, oneDecimal(change));
}

}  // namespace tonarika
