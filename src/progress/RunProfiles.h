#pragma once

// own
#include "Journal.h"
#include "ScoreRecord.h"

// Qt
#include <QDate>
#include <QString>

// std
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace tonarika {

// What a run asked, as the journal keeps its questions: how many notes, which timbres,
// how many octaves.
struct RunProfile {
    int notes = 0;
    std::uint8_t timbres = 0;  // a bit per timbre, by its index
    int octaves = 0;
    friend bool operator==(const RunProfile&, const RunProfile&) = default;
};
// "12 音・ピアノ・1 オクターブ", "3 音・ピアノ、マリンバ・3 オクターブ".
QString profileText(const RunProfile& profile);

// A run of Easy or Hard as the journal holds it: its mode, its questions, its last answer
// (the local wall clock held as UTC, as the score log writes its times) and what it asked.
struct JournalRun {
    QString mode;
    std::uint32_t questions = 0;
    QDateTime lastAnswer;
    RunProfile profile;
};
std::vector<JournalRun> journalRuns(const std::vector<Trial>& rows);

// The journal's runs found by the score records that end them: of a record's mode and its
// count of questions, the last to end no later than a minute after the record's time
// (which the log gives to the minute); nothing where the journal holds none.
class RunIndex {
public:
    explicit RunIndex(const std::vector<JournalRun>& runs);
    std::optional<RunProfile> profileOf(const ScoreRecord& record) const;
    bool empty() const { return m_runs.empty(); }

private:
    // By mode and questions, each list in the order the runs ended.
    std::map<std::pair<QString, std::uint32_t>, std::vector<std::pair<QDateTime, RunProfile>>> m_runs;
};

// Questions answered today in each mode by the journal, the run still going included.
std::map<QString, std::uint64_t> questionsOn(const std::vector<Trial>& rows, const QDate& day);

// The best of `mode`'s runs of kBestRunMinimumQuestions or more that asked as `like` did.
std::optional<ScoreRecord> bestRunAlike(const std::vector<ScoreRecord>& records, const RunIndex& runs, const QString& mode,
                                        const RunProfile& like);

}  // namespace tonarika
