#include "LearnedNotes.h"

// own
#include "JournalReader.h"

// Qt
#include <QLoggingCategory>

// std
#include <algorithm>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcPractice, "tonarika.practice", QtWarningMsg)

std::size_t slot(Mode mode)
{
    return mode == Mode::Easy ? 0 : 1;
}

}  // namespace

LearnedNotes::LearnedNotes(Journal& journal, std::filesystem::path file)
    : m_journal(journal)
    , m_file(std::move(file))
{
}

LearnedNotes::~LearnedNotes()
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->reader)
            m_shared->reader->cancel();
    }
    if (m_shared->thread.joinable())
        m_shared->thread.join();
}

void LearnedNotes::record(const Trial& trial)
{
    m_journal.record(trial);
    std::lock_guard lock(m_shared->mutex);
    m_shared->session.push_back(trial);
}

std::optional<NoteSet> LearnedNotes::learnedNotes(Mode mode) const
{
    std::lock_guard lock(m_shared->mutex);
    if (!m_shared->started) {
        m_shared->started = true;
        m_shared->reader = std::make_shared<JournalReader>(JournalReader::lastOfEachNote(m_file, kLearnedQuestions));
        m_shared->thread = std::thread(&LearnedNotes::readJournal, std::ref(*m_shared), m_file);
    }
    if (!m_shared->finished || mode == Mode::Prac)
        return std::nullopt;
    NoteSet learned;
    for (int note = 0; note < kNoteCount; ++note) {
        std::vector<NoteAnswer> answers = m_shared->read[slot(mode)][std::size_t(note)];
        for (const Trial& trial : m_shared->session) {
            if (trial.mode == mode && trial.asked == note)
                answers.push_back({trial.asked == trial.answered, trial.reactionMs});
        }
        if (isLearned(answers))
            learned.add(note);
    }
    return learned;
}

void LearnedNotes::readJournal(Shared& shared, std::filesystem::path file)
{
    const std::shared_ptr<JournalReader> held = shared.reader;  // set before this thread began
    held->update();
    if (held->fault()) {
        qCWarning(lcPractice, "the journal %s could not be read for the notes learned, so this session's answers alone "
                              "count: %s",
                  file.c_str(), describeJournalFault(*held->fault()).c_str());
    }
    Answers read;
    std::vector<TrialRow> rows = held->rows();
    std::lock_guard lock(shared.mutex);
    // This session's answers that were written before the reading are in it already.
    std::erase_if(shared.session, [&rows](const Trial& trial) {
        return std::any_of(rows.begin(), rows.end(), [&trial](const TrialRow& row) {
            return row.answeredAtMs == trial.answeredAtMs && row.asked == trial.asked && row.answered == trial.answered
                   && row.mode == trial.mode;
        });
    });
    for (const TrialRow& row : rows)
        read[slot(row.mode)][row.asked].push_back({row.right(), row.reactionMs});
    shared.read = std::move(read);
    // Only the answers are kept, never the reader's rows.
    shared.reader.reset();
    shared.finished = true;
    shared.done.notify_all();
}

void LearnedNotes::waitUntilRead() const
{
    learnedNotes(Mode::Easy);
    std::unique_lock lock(m_shared->mutex);
    m_shared->done.wait(lock, [this] { return m_shared->finished; });
}

}  // namespace tonarika
