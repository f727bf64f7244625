#include "NotePlayer.h"

// own
#include "NoteDecoder.h"
#include "NoteFile.h"
#include "Retune.h"
#include "ToneSynth.h"

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

// The key a sound is loaded and kept under: its file at its A4, or the pure tone's pitch.
SoundKey soundKey(const SoundRequest& request)
{
    if (!request.file.empty())
        return {request.file, request.a4, 0.0};
    return {{}, 440, request.hz};
}

// Its stand-in's, at the same A4; nothing where it has none.
std::optional<SoundKey> standInKey(const SoundRequest& request)
{
    if (request.standIn.empty())
        return std::nullopt;
    return SoundKey{request.standIn, request.a4, 0.0};
}

// How a sound is named on stderr.
std::string describe(const SoundKey& key)
{
    if (key.file.empty())
        return "the pure tone of " + std::to_string(key.hz) + " Hz";
    return key.a4 == 440 ? key.file : key.file + " at A4 = " + std::to_string(key.a4) + " Hz";
}

}  // namespace

std::size_t SoundKeyHash::operator()(const SoundKey& key) const
{
    return std::hash<std::string>()(key.file) ^ (std::hash<int>()(key.a4) << 1) ^ (std::hash<double>()(key.hz) << 2);
}

NotePlayer::NotePlayer(std::vector<std::filesystem::path> folders, std::vector<std::string> notes,
                       OpenOutput openOutput, ReadNote readNote)
    : m_folders(std::move(folders))
    , m_openOutput(std::move(openOutput))
    , m_readNote(std::move(readNote))
{
    for (std::string& note : notes)
        m_notes.push_back({std::move(note), 440, 0.0});
    m_kept.insert(m_notes.begin(), m_notes.end());
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
    {
        std::lock_guard lock(m_mutex);
        // A copy: none of them is new, so none is added to the list meanwhile.
        const std::vector<SoundKey> notes = m_notes;
        for (const SoundKey& note : notes)
            noteLocked(note);
    }
    m_loader = std::thread(&NotePlayer::loadInBackground, this);
}

SoundOutput* NotePlayer::output() const
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_opened || !m_loader.joinable(); });
    return m_output.get();
}

Player::Ticket NotePlayer::play(const SoundRequest& request)
{
    start();
    std::lock_guard lock(m_mutex);
    if (m_opened && !m_output)
        throw SoundError("no sound server and no sound device", SoundError::Cause::NoDevice);
    if (m_output && !m_output->available())
        throw SoundError("the sound server went away, and is being connected to again",
                         SoundError::Cause::Reconnecting);
    const Ticket ticket = ++m_lastTicket;
    // Only the last plays are ever asked about.
    m_playbacks.erase(ticket - std::min<Ticket>(ticket, 64));
    if (const auto standIn = standInKey(request)) {
        m_standIns[soundKey(request)] = *standIn;
        noteLocked(*standIn);
    }
    noteLocked(soundKey(request));
    dropWantedLocked();
    startOrWaitLocked(ticket, request);
    if (m_playbacks[ticket].state == Playback::State::Dropped) {
        if (m_output && !m_output->available())
            throw SoundError("the sound server went away", SoundError::Cause::Reconnecting);
        throw SoundError("the sound output refused the note");
    }
    return ticket;
}

void NotePlayer::dropWantedLocked()
{
    if (m_wanted)
        m_playbacks[m_wantedTicket].state = Playback::State::Dropped;
    m_wanted.reset();
}

void NotePlayer::startOrWaitLocked(Ticket ticket, const SoundRequest& request)
{
    SoundKey key = soundKey(request);
    const Note* note = &noteLocked(key);
    if (note->state == Note::State::Bad && standInKey(request)) {
        key = *standInKey(request);
        note = &noteLocked(key);
    }
    if (note->state == Note::State::Loading) {
        // The loader takes it next and starts it the moment it is ready, unless another
        // note is asked first.
        if (const auto queued = std::find(m_queue.begin(), m_queue.end(), key); queued != m_queue.end()) {
            m_queue.erase(queued);
            m_queue.push_front(key);
        }
        m_wanted = request;
        m_wantedKey = key;
        m_wantedTicket = ticket;
        m_playbacks[ticket].state = Playback::State::Waiting;
        return;
    }
    m_wanted.reset();
    startPlayLocked(ticket, request, *note);
}

void NotePlayer::prepare(const SoundRequest& request)
{
    start();
    std::lock_guard lock(m_mutex);
    if (m_opened && !m_output)
        return;
    if (const auto standIn = standInKey(request)) {
        m_standIns[soundKey(request)] = *standIn;
        noteLocked(*standIn);
    }
    noteLocked(soundKey(request));
}

Playback NotePlayer::playback(Ticket ticket) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_playbacks.find(ticket);
    return found == m_playbacks.end() ? Playback{} : found->second;
}

void NotePlayer::startPlayLocked(Ticket ticket, const SoundRequest& request, const Note& note)
{
    std::shared_ptr<const Samples> samples = note.samples;
    Playback& playback = m_playbacks[ticket];
    // The guard's tones come before a note, never before the alert tone.
    std::size_t prelude = 0;
    if (samples && !request.guardTones.empty()) {
        auto withGuard = std::make_shared<Samples>(guardPrelude(request.guardTones, m_output->rate()));
        prelude = withGuard->size();
        withGuard->insert(withGuard->end(), samples->begin(), samples->end());
        samples = std::move(withGuard);
    }
    const auto startedAt = m_output->start(samples ? samples : m_alert);
    if (!startedAt) {
        qCWarning(lcSound, "%s could not be started", describe(soundKey(request)).c_str());
        playback.state = Playback::State::Dropped;
        return;
    }
    playback.state = samples ? Playback::State::Sounding : Playback::State::Alert;
    playback.startedAt = *startedAt
        + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(double(prelude) / m_output->rate()));
}

void NotePlayer::waitUntilLoaded()
{
    start();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (m_opened && m_queue.empty() && !m_loading) || !m_loader.joinable(); });
}

NotePlayer::Note& NotePlayer::noteLocked(const SoundKey& key)
{
    const auto [found, added] = m_loaded.try_emplace(key);
    if (added) {
        m_queue.push_back(key);
        if (m_notes.size() < m_kept.size() + kKeptSounds && std::find(m_notes.begin(), m_notes.end(), key) == m_notes.end())
            m_notes.push_back(key);
        m_changed.notify_all();
    }
    if (!m_kept.contains(key)) {
        if (const auto used = std::find(m_used.begin(), m_used.end(), key); used != m_used.end())
            m_used.erase(used);
        m_used.push_back(key);
        forgetOldSoundsLocked();
    }
    return found->second;
}

void NotePlayer::forgetOldSoundsLocked()
{
    while (m_used.size() > kKeptSounds) {
        const SoundKey key = std::move(m_used.front());
        m_used.pop_front();
        // A sound still loading or waited for stays until it is done; one that cannot be
        // loaded stays known as such, so that it is neither tried nor reported again.
        const auto found = m_loaded.find(key);
        if (found != m_loaded.end() && found->second.state == Note::State::Ready && !(m_wanted && m_wantedKey == key))
            m_loaded.erase(found);
    }
}

std::filesystem::path NotePlayer::chooseFolder(const std::vector<SoundKey>& notes) const
{
    for (const auto& folder : m_folders) {
        for (const SoundKey& note : notes) {
            if (note.file.empty())
                continue;
            struct stat status {};
            const auto path = folder.empty() ? std::filesystem::path(note.file) : folder / note.file;
            if (::lstat(path.c_str(), &status) == 0)
                return folder;
        }
    }
    return m_folders.empty() ? std::filesystem::path() : m_folders.front();
}

void NotePlayer::loadInBackground()
{
    // What decoding kept for this thread goes with it.
    struct DecodingEnds {
        ~DecodingEnds() { endDecodingOnThisThread(); }
    } decodingEnds;
    // The output is opened here, where waiting for a sound server keeps nobody waiting.
    auto output = m_openOutput();
    std::unique_lock lock(m_mutex);
    m_opened = true;
    m_output = std::move(output);
    m_changed.notify_all();
    if (!m_output) {
        // Nothing can sound: what waited is dropped, and nothing is loaded.
        dropWantedLocked();
        m_queue.clear();
        return;
    }
    m_alert = alertTone(m_output->rate());
    // Which folder the notes come from is found on this thread, off the window's, from
    // the notes known now: play() adds to them meanwhile.
    const std::vector<SoundKey> notes = m_notes;
    lock.unlock();
    const std::filesystem::path folder = chooseFolder(notes);
    lock.lock();
    m_folder = folder;
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const SoundKey key = std::move(m_queue.front());
        m_queue.pop_front();
        m_loading = true;
        lock.unlock();
        std::string fault;
        auto samples = load(key, fault);
        lock.lock();
        m_loading = false;
        Note& note = m_loaded[key];
        note.samples = std::move(samples);
        note.state = note.samples ? Note::State::Ready : Note::State::Bad;
        if (!note.samples) {
            // Told once: a sound that cannot be loaded is never tried again.
            const auto standIn = m_standIns.find(key);
            const std::string instead
                = standIn == m_standIns.end() ? "sounds the alert tone" : describe(standIn->second) + " sounds";
            const auto path = m_folder.empty() ? std::filesystem::path(key.file) : m_folder / key.file;
            qCWarning(lcSound, "%s is refused, and %s instead: %s", path.c_str(), instead.c_str(), fault.c_str());
        }
        if (m_wanted && m_wantedKey == key) {
            // It starts, or, where it cannot be loaded, its stand-in is waited for next.
            const SoundRequest wanted = std::move(*m_wanted);
            m_wanted.reset();
            startOrWaitLocked(m_wantedTicket, wanted);
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

std::shared_ptr<const Samples> NotePlayer::load(const SoundKey& key, std::string& fault) const
{
    if (key.file.empty())
        return pureTone(key.hz, m_output->rate());
    // A file's note at another A4: decoded, then retuned here, on the loader's thread.
    if (key.a4 != 440) {
        auto tuned = retuned(load({key.file, 440, 0.0}, fault), key.a4);
        if (!tuned && fault.empty())
            fault = "it cannot be retuned";
        return tuned;
    }
    const auto path = m_folder.empty() ? std::filesystem::path(key.file) : m_folder / key.file;
    const NoteFile file = m_readNote(path, kMaxFileBytes, kMaxSeconds);
    std::shared_ptr<const Samples> samples;
    if (file.outcome == NoteFile::Outcome::Missing)
        fault = "there is no such file";
    else if (file.outcome == NoteFile::Outcome::Refused)
        fault = file.problem;
    else
        samples = decodeNote(file.bytes, m_output->rate(), kMaxSeconds, fault);
    return samples;
}

}  // namespace tonarika
