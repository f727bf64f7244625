#include "SdlPlayer.h"

// own
#include "NoteFile.h"

// Qt
#include <QLoggingCategory>

// SDL
#include <SDL.h>
#include <SDL_mixer.h>

// system
#include <malloc.h>
#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>

// std
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcSound, "tonarika.sound", QtWarningMsg)

// The rate when the device does not say its own: the notes' own.
constexpr int kDefaultRate = 44100;
// The notes are mono: so is the device, which keeps each note in memory once, not twice;
// the sound server (or SDL) plays it on both speakers alike.
constexpr int kOutputChannels = 1;
constexpr int kFadeMs = 5;  // short enough to feel instant, long enough not to click
// A period of 128 frames is under 3 ms; longer ones only where the device refuses it.
constexpr std::array<int, 5> kBufferFrames{128, 256, 512, 1024, 2048};

// The rate the sound device (the sound server's sink) runs at, so that nothing between
// here and the speaker resamples, or buffers to resample.
int deviceRate()
{
    SDL_AudioSpec spec{};
    if (SDL_GetDefaultAudioInfo(nullptr, &spec, 0) == 0 && spec.freq >= 8000 && spec.freq <= 192000)
        return spec.freq;
    return kDefaultRate;
}

// The alert tone for a note that cannot be loaded: two short 1 kHz pips, plainly
// not a piano note of the octave the game asks.
std::vector<short> makeAlertTone(int rate)
{
    constexpr double kFrequency = 1000.0;
    const int kPip = rate * 60 / 1000;
    const int kGap = rate * 40 / 1000;
    const int kRamp = rate * 3 / 1000;
    std::vector<short> samples;
    samples.reserve(static_cast<size_t>(2 * kPip + kGap) * kOutputChannels);
    for (int i = 0; i < 2 * kPip + kGap; ++i) {
        const int inPip = i < kPip ? i : i - kPip - kGap;
        double value = 0.0;
        if (inPip >= 0 && inPip < kPip) {
            const double ramp = std::min({1.0, double(inPip) / kRamp, double(kPip - inPip) / kRamp});
            value = 0.4 * ramp * std::sin(2.0 * std::numbers::pi * kFrequency * i / rate);
        }
        const auto sample = static_cast<short>(std::lround(value * 32767.0));
        for (int c = 0; c < kOutputChannels; ++c)
            samples.push_back(sample);
    }
    return samples;
}

}  // namespace

// The samples are signed 16-bit, one channel, as the device was opened.
void SdlPlayer::fadeEffect(int /*channel*/, void* stream, int length, void* data)
{
    auto& voice = *static_cast<Voice*>(data);
    if (!voice.fading.load(std::memory_order_acquire))
        return;
    auto* samples = static_cast<Sint16*>(stream);
    const int frames = length / static_cast<int>(sizeof(Sint16) * kOutputChannels);
    for (int frame = 0; frame < frames; ++frame) {
        const float gain = static_cast<float>(voice.framesLeft) / static_cast<float>(voice.fadeFrames);
        for (int c = 0; c < kOutputChannels; ++c) {
            Sint16& sample = samples[frame * kOutputChannels + c];
            sample = static_cast<Sint16>(std::lround(sample * gain));
        }
        if (voice.framesLeft > 0)
            --voice.framesLeft;
    }
}

// With a period of under 3 ms, a busy machine can make the audio thread late by a
// period, and the sound breaks. On its first period it asks for a real-time priority,
// the lowest there is; where that is not allowed, it runs as before. The thread is the
// device's, shared by every player of the process: so is the flag, and the effect holds
// no pointer to a player that another player's device could outlive.
void SdlPlayer::raisePriority(int /*channel*/, void* /*stream*/, int /*length*/, void* /*data*/)
{
    static std::atomic_flag asked;
    if (asked.test_and_set())
        return;
    sched_param parameters{};
    parameters.sched_priority = sched_get_priority_min(SCHED_RR);
    if (const int error = pthread_setschedparam(pthread_self(), SCHED_RR, &parameters); error != 0)
        qCInfo(lcSound, "the audio thread keeps its ordinary priority: %s", std::strerror(error));
}

SdlPlayer::SdlPlayer(std::vector<std::filesystem::path> folders, std::vector<std::string> notes)
    : m_folders(std::move(folders))
    , m_notes(std::move(notes))
{
}

SdlPlayer::~SdlPlayer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_loader.joinable())
        m_loader.join();
    if (m_open) {
        Mix_HaltChannel(-1);
        for (auto& [name, note] : m_loaded) {
            if (note.chunk)
                Mix_FreeChunk(note.chunk);
        }
        Mix_FreeChunk(m_alert);
        Mix_CloseAudio();
    }
    if (m_sdlStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlPlayer::start()
{
    if (m_started)
        return;
    m_started = true;
    if (!openDevice())
        return;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& wavFile : m_notes)
            noteLocked(wavFile);
    }
    m_loader = std::thread(&SdlPlayer::loadInBackground, this);
}

bool SdlPlayer::openDevice()
{
    if (!m_sdlStarted) {
        // SDL would turn SIGINT and SIGTERM into a quit event that nothing here reads;
        // the program handles them itself.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // A desktop's RealtimeKit gives SDL's audio thread a real-time priority on request.
        SDL_SetHint(SDL_HINT_THREAD_FORCE_REALTIME_TIME_CRITICAL, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            qCWarning(lcSound, "no sound: SDL's audio could not start: %s", SDL_GetError());
            return false;
        }
        m_sdlStarted = true;
    }
    // A fixed sample format lets the fade work on known samples; the rate is the device's.
    const int rate = deviceRate();
    for (const int frames : kBufferFrames) {
        if (Mix_OpenAudioDevice(rate, AUDIO_S16SYS, kOutputChannels, frames, nullptr, 0) == 0) {
            m_bufferFrames = frames;
            m_open = true;
            Mix_QuerySpec(&m_rate, &m_format, &m_channelsOut);
            Mix_AllocateChannels(kChannels);
            Mix_RegisterEffect(MIX_CHANNEL_POST, raisePriority, nullptr, nullptr);
            m_alertSamples = makeAlertTone(m_rate);
            m_alert = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(m_alertSamples.data()),
                                        static_cast<Uint32>(m_alertSamples.size() * sizeof(short)));
            return true;
        }
    }
    qCWarning(lcSound, "no sound: no sound device could be opened: %s", Mix_GetError());
    return false;
}

Player::Ticket SdlPlayer::play(std::string_view wavFile)
{
    start();
    if (!m_open)
        throw SoundError(std::string("no audio device: ") + SDL_GetError());

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
    startPlayLocked(ticket, name, note.state == Note::State::Ready ? note.chunk : nullptr);
    if (m_playbacks[ticket].state == Playback::State::Dropped)
        throw SoundError(std::string("cannot play: ") + Mix_GetError());
    return ticket;
}

Playback SdlPlayer::playback(Ticket ticket) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_playbacks.find(ticket);
    return found == m_playbacks.end() ? Playback{} : found->second;
}

void SdlPlayer::startPlayLocked(Ticket ticket, const std::string& wavFile, Mix_Chunk* chunk)
{
    Playback& playback = m_playbacks[ticket];
    if (!startLocked(chunk ? chunk : m_alert)) {
        qCWarning(lcSound, "%s could not be started: %s", wavFile.c_str(), Mix_GetError());
        playback.state = Playback::State::Dropped;
        return;
    }
    playback.state = chunk ? Playback::State::Sounding : Playback::State::Alert;
    playback.startedAt = std::chrono::steady_clock::now();
}

void SdlPlayer::waitUntilLoaded()
{
    start();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (m_queue.empty() && !m_loading) || !m_loader.joinable(); });
}

SdlPlayer::Note& SdlPlayer::noteLocked(const std::string& wavFile)
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

bool SdlPlayer::startLocked(Mix_Chunk* chunk)
{
    for (int channel = 0; channel < kChannels; ++channel) {
        if (Mix_Playing(channel))
            m_voices[static_cast<std::size_t>(channel)].fading.store(true, std::memory_order_release);
    }
    // Round robin: the channel taken next faded out long ago.
    const int channel = m_nextChannel;
    m_nextChannel = (m_nextChannel + 1) % kChannels;
    Mix_HaltChannel(channel);  // also drops the channel's effect
    Voice& voice = m_voices[static_cast<std::size_t>(channel)];
    voice.fading.store(false, std::memory_order_relaxed);
    voice.fadeFrames = m_rate * kFadeMs / 1000;
    voice.framesLeft = voice.fadeFrames;
    if (Mix_PlayChannel(channel, chunk, 0) < 0)
        return false;
    Mix_RegisterEffect(channel, fadeEffect, nullptr, &voice);
    return true;
}

std::filesystem::path SdlPlayer::chooseFolder() const
{
    for (const auto& folder : m_folders) {
        for (const auto& wavFile : m_notes) {
            struct stat status {};
            const auto path = folder.empty() ? std::filesystem::path(wavFile) : folder / wavFile;
            if (::lstat(path.c_str(), &status) == 0)
                return folder;
        }
    }
    return m_folders.empty() ? std::filesystem::path() : m_folders.front();
}

void SdlPlayer::loadInBackground()
{
    // Which folder the notes come from is found on this thread, off the window's.
    const std::filesystem::path folder = chooseFolder();
    std::unique_lock lock(m_mutex);
    m_folder = folder;
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const std::string wavFile = std::move(m_queue.front());
        m_queue.pop_front();
        m_loading = true;
        lock.unlock();
        Mix_Chunk* chunk = load(wavFile);
        lock.lock();
        m_loading = false;
        Note& note = m_loaded[wavFile];
        note.chunk = chunk;
        note.state = chunk ? Note::State::Ready : Note::State::Bad;
        if (m_wanted == wavFile) {
            m_wanted.reset();
            startPlayLocked(m_wantedTicket, wavFile, chunk);
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

Mix_Chunk* SdlPlayer::load(const std::string& wavFile) const
{
    const auto path = m_folder.empty() ? std::filesystem::path(wavFile) : m_folder / wavFile;
    const NoteFile file = readNoteFile(path, kMaxFileBytes, kMaxSeconds);
    std::string fault;
    Mix_Chunk* chunk = nullptr;
    if (file.outcome == NoteFile::Outcome::Missing)
        fault = "there is no such file";
    else if (file.outcome == NoteFile::Outcome::Refused)
        fault = file.problem;
    else
        chunk = decode(file.bytes, fault);
    if (!chunk)
        qCWarning(lcSound, "%s is refused, and sounds the alert tone instead: %s", path.c_str(), fault.c_str());
    return chunk;
}

Mix_Chunk* SdlPlayer::decode(const std::vector<std::uint8_t>& bytes, std::string& fault) const
{
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!source || !SDL_LoadWAV_RW(source, 1, &spec, &samples, &length)) {
        fault = std::string("SDL cannot decode it: ") + SDL_GetError();
        return nullptr;
    }
    // What SDL decoded is what counts: however the file's header read, its sound must
    // last no longer than the bound, or it is never converted, let alone kept.
    const double frameBytes = double(SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels);
    const double seconds = frameBytes > 0 && spec.freq > 0 ? length / frameBytes / spec.freq : 0.0;
    if (length == 0 || seconds > kMaxSeconds) {
        SDL_FreeWAV(samples);
        fault = length == 0 ? "SDL decoded no sound from it" : "SDL decoded more than 30 s from it";
        return nullptr;
    }
    SDL_AudioCVT convert;
    if (SDL_BuildAudioCVT(&convert, spec.format, spec.channels, spec.freq, m_format, Uint8(m_channelsOut), m_rate) < 0) {
        SDL_FreeWAV(samples);
        fault = std::string("SDL cannot convert it: ") + SDL_GetError();
        return nullptr;
    }
    Uint8* converted = samples;
    Uint32 convertedLength = length;
    if (convert.needed) {
        convert.len = int(length);
        convert.buf = static_cast<Uint8*>(SDL_malloc(size_t(length) * size_t(convert.len_mult)));
        if (!convert.buf) {
            SDL_FreeWAV(samples);
            fault = "out of memory";
            return nullptr;
        }
        SDL_memcpy(convert.buf, samples, length);
        SDL_FreeWAV(samples);
        if (SDL_ConvertAudio(&convert) < 0) {
            SDL_free(convert.buf);
            fault = std::string("SDL cannot convert it: ") + SDL_GetError();
            return nullptr;
        }
        // The conversion works in a buffer several times the samples; keep the samples.
        convertedLength = Uint32(convert.len_cvt);
        converted = static_cast<Uint8*>(SDL_realloc(convert.buf, convertedLength));
        if (!converted)
            converted = convert.buf;
    }
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(converted, convertedLength);
    if (!chunk) {
        SDL_free(converted);
        fault = std::string("SDL_mixer cannot take it: ") + Mix_GetError();
        return nullptr;
    }
    chunk->allocated = 1;  // the chunk owns its samples, and frees them with itself
    return chunk;
}

}  // namespace tonarika
