#include "ProgressLoader.h"

namespace tonarika {

ProgressLoader::ProgressLoader(std::vector<std::filesystem::path> logs, ScoreLogReader reader, Today today)
    : m_reader(std::move(reader))
    , m_today(std::move(today))
{
    for (auto& log : logs)
        m_tails.emplace_back(std::move(log));
}

void ProgressLoader::load()
{
    for (auto& tail : m_tails)
        tail.update(m_reader);
    emit loaded(makeSnapshot(mergeTails(m_tails), m_today()));
}

std::shared_ptr<ProgressSnapshot> makeSnapshot(ScoreHistory history, const QDate& today)
{
    auto snapshot = std::make_shared<ProgressSnapshot>();
    for (const QString& mode : kScoreModes) {
        std::vector<const ScoreRecord*> runs;
        for (const ScoreRecord& record : history.records) {
            if (record.mode == mode)
                runs.push_back(&record);
        }
        snapshot->series.emplace(mode, ModeSeries(runs));
        snapshot->summaries.emplace(mode, summarize(history.records, mode, today));
    }
    snapshot->history = std::move(history);
    return snapshot;
}

}  // namespace tonarika
