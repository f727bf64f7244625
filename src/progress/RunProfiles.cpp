#include "RunProfiles.h"

// own
#include "NoteStatistics.h"
#include "Progress.h"

// Qt
#include <QCoreApplication>
#include <QStringList>

// std
#include <algorithm>
#include <set>

namespace tonarika {

namespace {

QDateTime wallClock(const Trial& row)
{
    return QDateTime::fromMSecsSinceEpoch(row.answeredAtMs + std::int64_t(row.utcOffsetS) * 1000, Qt::UTC);
}

}  // namespace

QString profileText(const RunProfile& profile)
{
    QStringList timbres;
    for (const auto& row : kTimbreTable) {
        if (profile.timbres & (1u << std::size_t(row.timbre)))
            timbres << gameText(row.name);
    }
    return QCoreApplication::translate("RunProfiles", "%1 音・%2・%3 オクターブ").arg(profile.notes).arg(timbres.join(QCoreApplication::translate("RunProfiles", "、"))).arg(profile.octaves);
}

std::vector<JournalRun> journalRuns(const std::vector<Trial>& rows)
{
    struct Gathered {
        JournalRun run;
        std::set<int> notes;
        std::set<int> octaves;
    };
    std::map<std::int64_t, Gathered> byRun;
    for (const Trial& row : rows) {
        if (row.mode != Mode::Easy && row.mode != Mode::Hard)
            continue;
        Gathered& gathered = byRun[row.run];
        gathered.run.mode = qtText(modeName(row.mode));
        ++gathered.run.questions;
        gathered.run.lastAnswer = std::max(gathered.run.lastAnswer.isValid() ? gathered.run.lastAnswer : wallClock(row), wallClock(row));
        gathered.run.profile.timbres = std::uint8_t(gathered.run.profile.timbres | (1u << std::size_t(row.timbre)));
        gathered.notes.insert(row.asked);
        gathered.octaves.insert(row.octave);
    }
    std::vector<JournalRun> runs;
    for (auto& [number, gathered] : byRun) {
        gathered.run.profile.notes = int(gathered.notes.size());
        gathered.run.profile.octaves = int(gathered.octaves.size());
        runs.push_back(gathered.run);
    }
    return runs;
}

RunIndex::RunIndex(const std::vector<JournalRun>& runs)
{
    for (const JournalRun& run : runs)
        m_runs[{run.mode, run.questions}].emplace_back(run.lastAnswer, run.profile);
    for (auto& [key, ended] : m_runs)
        std::stable_sort(ended.begin(), ended.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::optional<RunProfile> RunIndex::profileOf(const ScoreRecord& record) const
{
    const auto alike = m_runs.find({record.mode, record.questions});
    if (alike == m_runs.end())
        return std::nullopt;
    const QDateTime latest = record.when.addSecs(60);
    const auto& ended = alike->second;
    const auto after = std::upper_bound(ended.begin(), ended.end(), latest,
                                        [](const QDateTime& when, const auto& run) { return when < run.first; });
    if (after == ended.begin())
        return std::nullopt;
    return std::prev(after)->second;
}

std::map<QString, std::uint64_t> questionsOn(const std::vector<Trial>& rows, const QDate& day)
{
    std::map<QString, std::uint64_t> counts;
    for (const Trial& row : rows) {
        if ((row.mode == Mode::Easy || row.mode == Mode::Hard) && localDate(row) == day)
            ++counts[qtText(modeName(row.mode))];
    }
    return counts;
}

std::optional<ScoreRecord> bestRunAlike(const std::vector<ScoreRecord>& records, const RunIndex& runs, const QString& mode,
                                        const RunProfile& like)
{
    std::optional<ScoreRecord> best;
    for (const ScoreRecord& record : records) {
        if (record.mode != mode || record.questions < std::uint32_t(kBestRunMinimumQuestions) || runs.profileOf(record) != like)
            continue;
        if (!best || record.rate() > best->rate())
            best = record;
    }
    return best;
}

}  // namespace tonarika
