#include "NotePlayer.h"

// own
#include "NoteDecoder.h"
#include "NoteFile.h"

// Qt
#include <QLoggingCategory>

// system
#include <malloc.h>
#include <sys/stat.h>

// std
#include <algorithm>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcSound, "tonarika.sound", QtWarningMsg)

}  // namespace

NotePlayer::NotePlayer(std::vector<std::filesystem::path> folders, std::vector<std::string> notes,
                       OpenOutput openOutput)
    : m_folders(std::move(folders))
    , m_notes(std::move(notes))
    , m_openOutput(std::move(openOutput))
{
}

NotePlayer::~NotePlayer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_loader.joinable())
        m_loader.join();
    // The output ends first: it may still be playing samples of the notes.
    m_output.reset();
}

void NotePlayer::start()
{
    if (m_started)
        return;
    m_started = true;
    m_output = m_openOutput();
    if (!m_output)
        return;
    m_alert = alertTone(m_output->rate());
    {
        std::lock_guard lock(m_mutex);
        for (const auto& wavFile : m_notes)
            noteLocked(wavFile);
    }
    m_loader = std::thread(&NotePlayer::loadInBackground, this);
}

Player::Ticket NotePlayer::play(std::string_view wavFile)
{
    start();
    if (!m_output)
        throw SoundError("no audio device");

    std::lock_guard lock(m_mutex);
    const Ticket ticket = ++m_lastTicket;
    // Only the last plays are ever asked about.
    m_playbacks.erase(ticket - std::min<Ticket>(ticket, 64));
    const std::string name(wavFile);
    const Note& note = noteLocked(name);
    if (m_wanted)
        m_playbacks[m_wantedTicket].state = Playback::State::Dropped;
    if (note.state == Note::State::Loading) {
        // The loader takes it next and starts it the moment it is ready, unless another
        // note is asked first.
        if (const auto queued = std::find(m_queue.begin(), m_queue.end(), name); queued != m_queue.end()) {
            m_queue.erase(queued);
            m_queue.push_front(name);
        }
        m_wanted = name;
        m_wantedTicket = ticket;
        m_playbacks[ticket].state = Playback::State::Waiting;
        return ticket;
    }
    m_wanted.reset();
    startPlayLocked(ticket, name, note.state == Note::State::Ready ? note.samples : nullptr);
    if (m_playbacks[ticket].state == Playback::State::Dropped)
        throw SoundError("the sound output refused the note");
    return ticket;
}

Playback NotePlayer::playback(Ticket ticket) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_playbacks.find(ticket);
    return found == m_playbacks.end() ? Playback{} : found->second;
}

void NotePlayer::startPlayLocked(Ticket ticket, const std::string& wavFile, const std::shared_ptr<const Samples>& samples)
{
    Playback& playback = m_playbacks[ticket];
    const auto startedAt = m_output->start(samples ? samples : m_alert);
    if (!startedAt) {
        qCWarning(lcSound, "%s could not be started", wavFile.c_str());
        playback.state = Playback::State::Dropped;
        return;
    }
    playback.state = samples ? Playback::State::Sounding : Playback::State::Alert;
    playback.startedAt = *startedAt;
}

void NotePlayer::waitUntilLoaded()
{
    start();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (m_queue.empty() && !m_loading) || !m_loader.joinable(); });
}

NotePlayer::Note& NotePlayer::noteLocked(const std::string& wavFile)
{
    const auto [found, added] = m_loaded.try_emplace(wavFile);
    if (added) {
        m_queue.push_back(wavFile);
        if (std::find(m_notes.begin(), m_notes.end(), wavFile) == m_notes.end())
            m_notes.push_back(wavFile);
        m_changed.notify_all();
    }
    return found->second;
}

std::filesystem::path NotePlayer::chooseFolder(const std::vector<std::string>& notes) const
{
    for (const auto& folder : m_folders) {
        for (const auto& wavFile : notes) {
            struct stat status {};
            const auto path = folder.empty() ? std::filesystem::path(wavFile) : folder / wavFile;
            if (::lstat(path.c_str(), &status) == 0)
                return folder;
        }
    }
    return m_folders.empty() ? std::filesystem::path() : m_folders.front();
}

void NotePlayer::loadInBackground()
{
    // Which folder the notes come from is found on this thread, off the window's, from
    // the notes known now: play() adds to them meanwhile.
    std::unique_lock lock(m_mutex);
    const std::vector<std::string> notes = m_notes;
    lock.unlock();
    const std::filesystem::path folder = chooseFolder(notes);
    lock.lock();
    m_folder = folder;
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const std::string wavFile = std::move(m_queue.front());
        m_queue.pop_front();
        m_loading = true;
        lock.unlock();
        auto samples = load(wavFile);
        lock.lock();
        m_loading = false;
        Note& note = m_loaded[wavFile];
        note.samples = std::move(samples);
        note.state = note.samples ? Note::State::Ready : Note::State::Bad;
        if (m_wanted == wavFile) {
            m_wanted.reset();
            startPlayLocked(m_wantedTicket, wavFile, note.samples);
        }
        const bool done = m_queue.empty();
        m_changed.notify_all();
        if (done) {
            // What reading and decoding took and gave back goes back to the system.
            lock.unlock();
            ::malloc_trim(0);
            lock.lock();
        }
    }
}

std::shared_ptr<const Samples> NotePlayer::load(const std::string& wavFile) const
{
    const auto path = m_folder.empty() ? std::filesystem::path(wavFile) : m_folder / wavFile;
    const NoteFile file = readNoteFile(path, kMaxFileBytes, kMaxSeconds);
    std::string fault;
    std::shared_ptr<const Samples> samples;
    if (file.outcome == NoteFile::Outcome::Missing)
        fault = "there is no such file";
    else if (file.outcome == NoteFile::Outcome::Refused)
        fault = file.problem;
    else
        samples = decodeNote(file.bytes, m_output->rate(), kMaxSeconds, fault);
    if (!samples)
        qCWarning(lcSound, "%s is refused, and sounds the alert tone instead: %s", path.c_str(), fault.c_str());
    return samples;
}

}  // namespace tonarika
