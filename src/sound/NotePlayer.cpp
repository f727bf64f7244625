#include "NotePlayer.h"

// own
#include "NoteDecoder.h"
#include "NoteFile.h"
#include "Retune.h"
#include "ToneSynth.h"

// Qt
#include <QLoggingCategory>

// system
#include <SDL.h>
#include <malloc.h>
#include <sys/stat.h>

// std
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcSound, "tonarika.sound", QtWarningMsg)

constexpr std::string_view kPureTone = "pure tone ";

constexpr char kA4Mark = '@';

// The name a file's note is loaded and kept under at an A4 other than the files' own 440.
std::string atA4(const std::string& file, int a4)
{
    return a4 == 440 ? file : file + kA4Mark + std::to_string(a4);
}

// The name a sound is loaded and kept under: its file at its A4, or the pure tone and its
// pitch.
std::string soundName(const SoundRequest& request)
{
    if (!request.file.empty())
        return atA4(request.file, request.a4);
    char hz[32];
    std::snprintf(hz, sizeof hz, "%.6f", request.hz);
    return std::string(kPureTone) + hz + " Hz";
}

std::string standInName(const SoundRequest& request)
{
    return request.standIn.empty() ? std::string() : atA4(request.standIn, request.a4);
}

}  // namespace

NotePlayer::NotePlayer(std::vector<std::filesystem::path> folders, std::vector<std::string> notes,
                       OpenOutput openOutput, ReadNote readNote)
    : m_folders(std::move(folders))
    , m_notes(std::move(notes))
    , m_openOutput(std::move(openOutput))
    , m_readNote(std::move(readNote))
    , m_kept(m_notes.begin(), m_notes.end())
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
    {
        std::lock_guard lock(m_mutex);
        for (const auto& wavFile : m_notes)
            noteLocked(wavFile);
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
    if (!request.standIn.empty()) {
        m_standIns[soundName(request)] = standInName(request);
        noteLocked(standInName(request));
    }
    noteLocked(soundName(request));
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
    std::string name = soundName(request);
    const Note* note = &noteLocked(name);
    if (note->state == Note::State::Bad && !request.standIn.empty()) {
        name = standInName(request);
        note = &noteLocked(name);
    }
    if (note->state == Note::State::Loading) {
        // The loader takes it next and starts it the moment it is ready, unless another
        // note is asked first.
        if (const auto queued = std::find(m_queue.begin(), m_queue.end(), name); queued != m_queue.end()) {
            m_queue.erase(queued);
            m_queue.push_front(name);
        }
        m_wanted = request;
        m_wantedName = name;
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
    if (!request.standIn.empty()) {
        m_standIns[soundName(request)] = standInName(request);
        noteLocked(standInName(request));
    }
    noteLocked(soundName(request));
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
        qCWarning(lcSound, "%s could not be started", soundName(request).c_str());
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

NotePlayer::Note& NotePlayer::noteLocked(const std::string& name)
{
    const auto [found, added] = m_loaded.try_emplace(name);
    if (added) {
        m_queue.push_back(name);
        if (m_notes.size() < m_kept.size() + kKeptSounds
            && std::find(m_notes.begin(), m_notes.end(), name) == m_notes.end())
            m_notes.push_back(name);
        m_changed.notify_all();
    }
    if (!m_kept.contains(name)) {
        if (const auto used = std::find(m_used.begin(), m_used.end(), name); used != m_used.end())
            m_used.erase(used);
        m_used.push_back(name);
        forgetOldSoundsLocked();
    }
    return found->second;
}

void NotePlayer::forgetOldSoundsLocked()
{
    while (m_used.size() > kKeptSounds) {
        const std::string name = std::move(m_used.front());
        m_used.pop_front();
        // A sound still loading or waited for stays until it is done; one that cannot be
        // loaded stays known as such, so that it is neither tried nor reported again.
        const auto found = m_loaded.find(name);
        if (found != m_loaded.end() && found->second.state == Note::State::Ready
            && !(m_wanted && m_wantedName == name))
            m_loaded.erase(found);
    }
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
    // SDL keeps an error text for each thread that calls it (the output's opening, the
    // decoder) and frees it only for threads of its own: this one frees it as it ends.
    struct SdlThreadEnd {
        ~SdlThreadEnd() { SDL_TLSCleanup(); }
    } sdlThreadEnd;
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
    const std::vector<std::string> notes = m_notes;
    lock.unlock();
    const std::filesystem::path folder = chooseFolder(notes);
    lock.lock();
    m_folder = folder;
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const std::string name = std::move(m_queue.front());
        m_queue.pop_front();
        m_loading = true;
        lock.unlock();
        std::string fault;
        auto samples = load(name, fault);
        lock.lock();
        m_loading = false;
        Note& note = m_loaded[name];
        note.samples = std::move(samples);
        note.state = note.samples ? Note::State::Ready : Note::State::Bad;
        if (!note.samples) {
            // Told once: a sound that cannot be loaded is never tried again.
            const auto standIn = m_standIns.find(name);
            const std::string instead
                = standIn == m_standIns.end() ? "sounds the alert tone" : standIn->second + " sounds";
            const std::string file = name.substr(0, name.rfind(kA4Mark));
            const auto path = m_folder.empty() ? std::filesystem::path(file) : m_folder / file;
            qCWarning(lcSound, "%s is refused, and %s instead: %s", path.c_str(), instead.c_str(), fault.c_str());
        }
        if (m_wanted && m_wantedName == name) {
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

std::shared_ptr<const Samples> NotePlayer::load(const std::string& name, std::string& fault) const
{
    if (name.starts_with(kPureTone))
        return pureTone(std::strtod(name.c_str() + kPureTone.size(), nullptr), m_output->rate());
    // A file's note at another A4: decoded, then retuned here, on the loader's thread.
    const std::size_t mark = name.rfind(kA4Mark);
    if (mark != std::string::npos) {
        auto samples = load(name.substr(0, mark), fault);
        auto tuned = retuned(std::move(samples), std::atoi(name.c_str() + mark + 1));
        if (!tuned && fault.empty())
            fault = "it cannot be retuned";
        return tuned;
    }
    const auto path = m_folder.empty() ? std::filesystem::path(name) : m_folder / name;
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
