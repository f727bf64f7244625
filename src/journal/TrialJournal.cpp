#include "TrialJournal.h"

// own
#include "TrialSpill.h"

// Qt
#include <QLoggingCategory>

// std
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <system_error>
#include <vector>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcJournal, "tonarika.journal", QtWarningMsg)

}  // namespace

struct TrialJournal::Shared {
    Shared(std::filesystem::path journal, JournalTiming given)
        : file(journal)
        , timing(given)
        , writer(std::move(journal), given)
    {
    }

    std::filesystem::path file;
    JournalTiming timing;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Trial> queue;
    bool openNow = false;   // open the journal with no row to write: a spill file waits
    bool writing = false;   // the writer is at the queue's front, outside the lock
    bool stopping = false;  // close() owns the queue from now on
    bool full = false;      // the queue has reached its bound
    std::chrono::steady_clock::time_point retryAt;
    std::size_t batch = kBatch;
    std::map<std::int64_t, std::int64_t> runs;  // the writer's, as of its last write
    JournalWriter writer;  // the writer thread's own, but for cancel()
};

std::filesystem::path journalFile(const std::filesystem::path& dataFolder)
{
    return dataFolder / "trials.sqlite";
}

TrialJournal::TrialJournal(std::filesystem::path file, JournalTiming timing)
    : m_file(file)
    , m_shared(std::make_shared<Shared>(std::move(file), timing))
{
    // What an earlier game could not write goes in at the start, not at the first answer.
    if (!spillFiles(m_file).empty()) {
        std::lock_guard lock(m_shared->mutex);
        m_shared->openNow = true;
        startLocked();
    }
}

TrialJournal::~TrialJournal()
{
    close(kFlushLimit);
}

void TrialJournal::startLocked()
{
    if (!m_thread.joinable())
        m_thread = std::thread(&TrialJournal::writeRows, m_shared);
    m_shared->wake.notify_one();
}

void TrialJournal::record(const Trial& trial)
{
    Shared& shared = *m_shared;
    std::lock_guard lock(shared.mutex);
    if (m_closed)
        return;
    if (shared.queue.size() >= shared.timing.queueLimit) {
        if (!std::exchange(shared.full, true))
            qCWarning(lcJournal, "%zu trials wait for the journal %s, which takes none now: later ones are not kept",
                      shared.queue.size(), m_file.c_str());
        return;
    }
    shared.queue.push_back(trial);
    startLocked();
}

bool TrialJournal::flush(std::chrono::milliseconds limit)
{
    Shared& shared = *m_shared;
    std::unique_lock lock(shared.mutex);
    return shared.idle.wait_for(lock, limit,
                                [&] { return shared.queue.empty() && !shared.writing && !shared.openNow; });
}

void TrialJournal::writeRows(std::shared_ptr<Shared> owned)
{
    Shared& shared = *owned;
    std::unique_lock lock(shared.mutex);
    for (;;) {
        const auto due = [&] {
            return shared.stopping || shared.openNow
                   || (!shared.queue.empty() && std::chrono::steady_clock::now() >= shared.retryAt);
        };
        while (!due()) {
            if (shared.queue.empty())
                shared.wake.wait(lock);
            else
                shared.wake.wait_until(lock, shared.retryAt);
        }
        if (shared.stopping)
            break;
        const std::size_t count = std::min(shared.queue.size(), shared.batch);
        const std::vector<Trial> batch(shared.queue.begin(), shared.queue.begin() + std::ptrdiff_t(count));
        shared.writing = true;
        lock.unlock();
        const JournalWriter::Outcome outcome = shared.writer.write(batch);
        lock.lock();
        shared.writing = false;
        shared.openNow = false;
        shared.runs = shared.writer.runs();
        if (shared.stopping)
            break;  // close() has taken the queue, this batch too
        if (outcome == JournalWriter::Outcome::Refused && count > 1) {
            // One row the journal refuses must not cost the others: one at a time now.
            shared.batch = 1;
            shared.retryAt = {};
        } else if (outcome == JournalWriter::Outcome::Elsewhere) {
            // A journal of a newer version: the trials wait in the spill file for a game
            // that knows it, from now on, so that an end of any kind loses none.
            const std::deque<Trial> elsewhere(shared.queue.begin(), shared.queue.begin() + std::ptrdiff_t(count));
            shared.queue.erase(shared.queue.begin(), shared.queue.begin() + std::ptrdiff_t(count));
            const auto runs = shared.runs;
            lock.unlock();
            spill(shared, elsewhere, runs);
            lock.lock();
            shared.retryAt = {};
        } else if (outcome == JournalWriter::Outcome::Retry) {
            shared.retryAt = std::chrono::steady_clock::now() + shared.timing.retryPause;
        } else {
            shared.queue.erase(shared.queue.begin(), shared.queue.begin() + std::ptrdiff_t(count));
            shared.full = false;
            if (outcome == JournalWriter::Outcome::Written)
                shared.batch = kBatch;
            shared.retryAt = {};
        }
        shared.idle.notify_all();
    }
    // The end: a journal open and whole is closed and noted as this game leaves it.
    lock.unlock();
    shared.writer.close();
    lock.lock();
    shared.idle.notify_all();
}

void TrialJournal::spill(Shared& shared, const std::deque<Trial>& trials, const std::map<std::int64_t, std::int64_t>& runs)
{
    if (trials.empty())
        return;
    const std::filesystem::path& journal = shared.file;
    std::vector<SpilledTrial> spilled;
    for (const Trial& trial : trials) {
        SpilledTrial line{trial, 0, {}};
        line.trial.utcOffsetS = std::int32_t(utcOffsetAt(trial.answeredAtMs));
        if (const auto run = runs.find(trial.run); run != runs.end())
            line.runNumber = run->second;
        else
            line.session = shared.writer.session() + "-" + std::to_string(trial.run);
        spilled.push_back(std::move(line));
    }
    const TrialSpill file(spillFile(journal));
    std::filesystem::path into;
    if (const auto why = file.append(spilled, &into))
        qCWarning(lcJournal, "%zu trials could not be written to %s, nor kept in %s: %s", spilled.size(),
                  journal.c_str(), file.file().c_str(), why->c_str());
    else
        qCWarning(lcJournal, "%zu trials could not be written to %s: they wait in %s for the next start",
                  spilled.size(), journal.c_str(), into.c_str());
}

void TrialJournal::close(std::chrono::milliseconds limit)
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (std::exchange(m_closed, true))
            return;
    }
    Shared& shared = *m_shared;
    flush(limit);
    std::deque<Trial> unwritten;
    bool stuck = false;
    std::map<std::int64_t, std::int64_t> runs;
    {
        std::unique_lock lock(shared.mutex);
        shared.stopping = true;
        shared.writer.cancel();
        shared.wake.notify_all();
        stuck = !shared.idle.wait_for(lock, kStopLimit, [&] { return !shared.writing; });
        unwritten.swap(shared.queue);
        runs = shared.runs;
    }
    if (m_thread.joinable()) {
        if (stuck) {
            qCWarning(lcJournal, "the journal's writer is still busy with %s; the program ends without it",
                      m_file.c_str());
            m_thread.detach();
        } else {
            m_thread.join();
        }
    }
    spill(shared, unwritten, runs);
}

}  // namespace tonarika
