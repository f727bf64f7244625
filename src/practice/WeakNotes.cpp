#include "WeakNotes.h"

// own
#include "JournalReader.h"

// Qt
#include <QLoggingCategory>

// std
#include <algorithm>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcPractice, "tonarika.practice", QtWarningMsg)

AnswerRecord answerOf(const Trial& trial)
{
    return {trial.answeredAtMs, trial.mode, trial.asked, trial.answered, trial.reactionMs};
}

AnswerRecord answerOf(const TrialRow& row)
{
    return {row.answeredAtMs, row.mode, row.asked, row.answered, row.reactionMs};
}

}  // namespace

WeakNotes::WeakNotes(Journal& journal, std::filesystem::path file, const GameClock& clock)
    : m_journal(journal)
    , m_file(std::move(file))
    , m_clock(clock)
{
}

WeakNotes::~WeakNotes()
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->reader)
            m_shared->reader->cancel();
    }
    if (m_shared->thread.joinable())
        m_shared->thread.join();
}

void WeakNotes::record(const Trial& trial)
{
    m_journal.record(trial);
    std::lock_guard lock(m_shared->mutex);
    m_shared->session.push_back(answerOf(trial));
}

std::optional<NoteWeights> WeakNotes::noteWeights(Mode mode) const
{
    const std::int64_t now = m_clock.utcMs();
    std::lock_guard lock(m_shared->mutex);
    if (!m_shared->started) {
        m_shared->started = true;
        // Only the days that count are read, through the journal's time index.
        const std::int64_t since = now - std::int64_t(kWeakNoteDays + 1) * 24 * 3600 * 1000;
        m_shared->reader = std::make_shared<JournalReader>(m_file, JournalReader::kReadLimit, since);
        m_shared->thread = std::thread(&WeakNotes::read, std::ref(*m_shared), since);
    }
    std::vector<AnswerRecord> answers = m_shared->read;
    answers.insert(answers.end(), m_shared->session.begin(), m_shared->session.end());
    return tonarika::noteWeights(answers, mode, now);
}

void WeakNotes::read(Shared& shared, std::int64_t sinceMs)
{
    const std::shared_ptr<JournalReader> held = shared.reader;  // set before this thread began
    JournalReader& reader = *held;
    reader.update();
    if (reader.fault()) {
        qCWarning(lcPractice, "the journal could not be read for the weak notes, so this session's answers alone count: %s",
                  describeJournalFault(*reader.fault()).c_str());
    }
    std::vector<AnswerRecord> read;
    for (const TrialRow& row : reader.rows()) {
        if (row.answeredAtMs >= sinceMs)
            read.push_back(answerOf(row));
    }
    std::lock_guard lock(shared.mutex);
    // This session's answers that were written before the reading are in it already.
    std::erase_if(shared.session, [&read](const AnswerRecord& answer) {
        return std::find(read.begin(), read.end(), answer) != read.end();
    });
    shared.read = std::move(read);
    // Only the answers are kept, never the reader's rows.
    shared.reader.reset();
    shared.finished = true;
    shared.done.notify_all();
}

void WeakNotes::waitUntilRead() const
{
    noteWeights(Mode::Easy);
    std::unique_lock lock(m_shared->mutex);
    m_shared->done.wait(lock, [this] { return m_shared->finished; });
}

}  // namespace tonarika
