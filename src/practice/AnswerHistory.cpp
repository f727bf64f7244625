#include "AnswerHistory.h"

// own
#include "JournalReader.h"
#include "JournalStore.h"

// Qt
#include <QLoggingCategory>

// std
#include <algorithm>
#include <iterator>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcPractice, "tonarika.practice", QtWarningMsg)

AnswerRecord answerOf(const Trial& trial)
{
    return {trial.answeredAtMs, trial.mode, trial.asked, trial.answered, trial.reactionMs,
            trial.sameNote() && !trial.right()};
}

}  // namespace

AnswerHistory::AnswerHistory(std::filesystem::path journal, const GameClock& clock)
    : m_journal(std::move(journal))
    , m_clock(clock)
{
}

AnswerHistory::~AnswerHistory()
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->reader)
            m_shared->reader->cancel();
    }
    if (m_shared->thread.joinable())
        m_shared->thread.join();
}

void AnswerHistory::setOnChange(std::function<void()> onChange)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->onChange = std::move(onChange);
}

void AnswerHistory::answered(const Trial& trial)
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->sessionMoments.push_back(
            {trial.answeredAtMs, std::int32_t(utcOffsetAt(trial.answeredAtMs)), trial.reactionMs});
        if (trial.mode != Mode::Prac)
            m_shared->session.push_back(answerOf(trial));
        // Under the lock, so that a listener that goes away is never called after.
        if (m_shared->onChange)
            m_shared->onChange();
    }
}

std::optional<std::int64_t> AnswerHistory::practisedTodayMs() const
{
    const std::int64_t now = m_clock.utcMs();
    std::lock_guard lock(m_shared->mutex);
    startLocked();
    if (!m_shared->finished)
        return std::nullopt;
    // Today's moments alone: the week the weights read stays out of the title's sum.
    const std::int64_t today = localDay(now, std::int32_t(utcOffsetAt(now)));
    std::vector<PracticeMoment> moments;
    for (const auto* kept : {&m_shared->readMoments, &m_shared->sessionMoments}) {
        std::copy_if(kept->begin(), kept->end(), std::back_inserter(moments),
                     [today](const PracticeMoment& m) { return localDay(m.utcMs, m.utcOffsetS) == today; });
    }
    const auto byDay = practiceMsByDay(std::move(moments));
    return byDay.empty() ? 0 : byDay.begin()->second;
}

void AnswerHistory::startLocked() const
{
    if (m_shared->started)
        return;
    m_shared->started = true;
    // The days the weights count, through the journal's time index, and each note's last
    // answers, through its notes' index: never the whole of a long journal.
    const std::int64_t since = m_clock.utcMs() - std::int64_t(kWeakNoteDays + 1) * 24 * 3600 * 1000;
    m_shared->reader = std::make_shared<JournalReader>(JournalReader::lastOfEachNote(m_journal, kLearnedQuestions, since));
    m_shared->thread = std::thread(&AnswerHistory::read, std::ref(*m_shared));
}

std::optional<NoteWeights> AnswerHistory::noteWeights(Mode mode) const
{
    const std::int64_t now = m_clock.utcMs();
    std::lock_guard lock(m_shared->mutex);
    startLocked();
    std::vector<AnswerRecord> answers = m_shared->read;
    answers.insert(answers.end(), m_shared->session.begin(), m_shared->session.end());
    return tonarika::noteWeights(answers, mode, now);
}

std::optional<NoteSet> AnswerHistory::learnedNotes(Mode mode) const
{
    std::lock_guard lock(m_shared->mutex);
    startLocked();
    if (!m_shared->finished || (mode != Mode::Easy && mode != Mode::Hard))
        return std::nullopt;
    std::array<std::vector<NoteAnswer>, kNoteCount> answers;
    for (const auto* answered : {&m_shared->read, &m_shared->session}) {
        for (const AnswerRecord& answer : *answered) {
            if (answer.mode == mode)
                answers[answer.asked].push_back({answer.right(), answer.reactionMs});
        }
    }
    NoteSet learned;
    for (int note = 0; note < kNoteCount; ++note) {
        if (isLearned(answers[std::size_t(note)]))
            learned.add(note);
    }
    return learned;
}

void AnswerHistory::read(Shared& shared)
{
    const std::shared_ptr<JournalReader> held = shared.reader;  // set before this thread began
    held->update();
    if (held->fault()) {
        qCWarning(lcPractice, "the journal %s could not be read for the weak notes and the notes learned, so this "
                              "session's answers alone count: %s",
                  held->file().c_str(), describeJournalFault(*held->fault()).c_str());
    }
    std::vector<AnswerRecord> read;
    std::vector<PracticeMoment> moments = held->presses();
    for (const Trial& row : held->rows()) {
        read.push_back(answerOf(row));
        moments.push_back({row.answeredAtMs, row.utcOffsetS, row.reactionMs});
    }
    {
        std::lock_guard lock(shared.mutex);
        // This session's answers that were written before the reading are in it already.
        std::erase_if(shared.session, [&read](const AnswerRecord& answer) {
            return std::find(read.begin(), read.end(), answer) != read.end();
        });
        shared.read = std::move(read);
        std::erase_if(shared.sessionMoments, [&moments](const PracticeMoment& moment) {
            return std::any_of(moments.begin(), moments.end(), [&moment](const PracticeMoment& known) {
                return known.utcMs == moment.utcMs && known.utcOffsetS == moment.utcOffsetS;
            });
        });
        shared.readMoments = std::move(moments);
        // Only the answers are kept, never the reader's rows.
        shared.reader.reset();
        shared.finished = true;
        shared.done.notify_all();
        if (shared.onChange)
            shared.onChange();
    }
}

void AnswerHistory::waitUntilRead() const
{
    {
        std::lock_guard lock(m_shared->mutex);
        startLocked();
    }
    std::unique_lock lock(m_shared->mutex);
    m_shared->done.wait(lock, [this] { return m_shared->finished; });
}

}  // namespace tonarika
