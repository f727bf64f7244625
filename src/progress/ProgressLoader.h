#pragma once

// own
#include "ModeSeries.h"
#include "Progress.h"
#include "ScoreLogReader.h"

// Qt
#include <QObject>

// std
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace tonarika {

// The modes whose runs the score log keeps.
inline const QStringList kScoreModes{QStringLiteral("Easy"), QStringLiteral("Hard")};

// Everything the progress view shows of the score logs, read and worked out in one go.
struct ProgressSnapshot {
    ScoreHistory history;
    std::map<QString, ModeSeries> series;  // per mode
    std::map<QString, ModeSummary> summaries;
};

// Reads the score logs and works out what the progress view shows of them, on
// whatever thread it lives on, so that the window's thread never waits for it. Each load
// reads only what was appended since the load before.
class ProgressLoader : public QObject {
    Q_OBJECT
public:
    using Today = std::function<QDate()>;

    ProgressLoader(std::vector<std::filesystem::path> logs, ScoreLogReader reader, Today today);

    // Reads the logs and emits loaded(); an unchanged log costs a stat.
    void load();

signals:
    void loaded(std::shared_ptr<const ProgressSnapshot> snapshot);

private:
    ScoreLogReader m_reader;
    Today m_today;
    std::vector<ScoreLogTail> m_tails;
};

// The snapshot of a history: its series and summaries as of `today`.
std::shared_ptr<ProgressSnapshot> makeSnapshot(ScoreHistory history, const QDate& today);

}  // namespace tonarika
