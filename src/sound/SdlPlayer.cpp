#include "SdlPlayer.h"

// own
#include "NoteFile.h"

// SDL
#include <SDL.h>
#include <SDL_mixer.h>

// std
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace tonarika {

namespace {

constexpr int kRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kFadeFrames = kRate * 5 / 1000;  // 5 ms: short enough to feel instant, long enough not to click
constexpr std::array<int, 4> kBufferFrames{256, 512, 1024, 2048};

// The alert tone for a note that cannot be loaded: two short 1 kHz pips, plainly
// not a piano note of the octave the game asks.
std::vector<short> makeAlertTone()
{
    constexpr double kFrequency = 1000.0;
    constexpr int kPip = kRate * 60 / 1000;
    constexpr int kGap = kRate * 40 / 1000;
    constexpr int kRamp = kRate * 3 / 1000;
    std::vector<short> samples;
    samples.reserve(static_cast<size_t>(2 * kPip + kGap) * kOutputChannels);
    for (int i = 0; i < 2 * kPip + kGap; ++i) {
        const int inPip = i < kPip ? i : i - kPip - kGap;
        double value = 0.0;
        if (inPip >= 0 && inPip < kPip) {
            const double ramp = std::min({1.0, double(inPip) / kRamp, double(kPip - inPip) / kRamp});
            value = 0.4 * ramp * std::sin(2.0 * std::numbers::pi * kFrequency * i / kRate);
        }
        const auto sample = static_cast<short>(std::lround(value * 32767.0));
        for (int c = 0; c < kOutputChannels; ++c)
            samples.push_back(sample);
    }
    return samples;
}

}  // namespace

// The samples are signed 16-bit, interleaved stereo, as the device was opened.
void SdlPlayer::fadeEffect(int /*channel*/, void* stream, int length, void* data)
{
    auto& voice = *static_cast<Voice*>(data);
    if (!voice.fading.load(std::memory_order_acquire))
        return;
    auto* samples = static_cast<Sint16*>(stream);
    const int frames = length / static_cast<int>(sizeof(Sint16) * kOutputChannels);
    for (int frame = 0; frame < frames; ++frame) {
        const float gain = static_cast<float>(voice.framesLeft) / kFadeFrames;
        for (int c = 0; c < kOutputChannels; ++c) {
            Sint16& sample = samples[frame * kOutputChannels + c];
            sample = static_cast<Sint16>(std::lround(sample * gain));
        }
        if (voice.framesLeft > 0)
            --voice.framesLeft;
    }
}

SdlPlayer::SdlPlayer(std::vector<std::filesystem::path> folders, std::vector<std::string> preload)
    : m_folders(std::move(folders))
{
    if (!openDevice())
        return;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& wavFile : preload)
            noteLocked(wavFile);
    }
    m_loader = std::thread(&SdlPlayer::loadInBackground, this);
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
        for (auto& [name, note] : m_notes) {
            if (note.chunk)
                Mix_FreeChunk(note.chunk);
        }
        Mix_FreeChunk(m_alert);
        Mix_CloseAudio();
    }
    if (m_sdlStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlPlayer::openDevice()
{
    if (m_open)
        return true;
    if (!m_sdlStarted) {
        // SDL would turn SIGINT and SIGTERM into a quit event that nothing here reads;
        // the program handles them itself.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        m_sdlStarted = true;
    }
    // A fixed format lets the fade work on known samples; SDL converts for the hardware.
    for (const int frames : kBufferFrames) {
        if (Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, kOutputChannels, frames, nullptr, 0) == 0) {
            m_bufferFrames = frames;
            m_open = true;
            Mix_AllocateChannels(kChannels);
            m_alertSamples = makeAlertTone();
            m_alert = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(m_alertSamples.data()),
                                        static_cast<Uint32>(m_alertSamples.size() * sizeof(short)));
            return true;
        }
    }
    return false;
}

void SdlPlayer::play(std::string_view wavFile)
{
    if (!openDevice())
        throw SoundError(std::string("no audio device: ") + SDL_GetError());
    if (!m_loader.joinable())
        m_loader = std::thread(&SdlPlayer::loadInBackground, this);

    std::lock_guard lock(m_mutex);
    const Note& note = noteLocked(std::string(wavFile));
    if (note.state == Note::State::Loading) {
        // The loader starts it the moment it is ready, unless another note is asked first.
        m_wanted = std::string(wavFile);
        return;
    }
    m_wanted.reset();
    if (!startLocked(note.state == Note::State::Ready ? note.chunk : m_alert))
        throw SoundError(std::string("cannot play: ") + Mix_GetError());
}

void SdlPlayer::waitUntilLoaded()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (m_queue.empty() && !m_loading) || !m_loader.joinable(); });
}

SdlPlayer::Note& SdlPlayer::noteLocked(const std::string& wavFile)
{
    const auto [found, added] = m_notes.try_emplace(wavFile);
    if (added) {
        m_queue.push_back(wavFile);
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
    voice.framesLeft = kFadeFrames;
    if (Mix_PlayChannel(channel, chunk, 0) < 0)
        return false;
    Mix_RegisterEffect(channel, fadeEffect, nullptr, &voice);
    return true;
}

void SdlPlayer::loadInBackground()
{
    std::unique_lock lock(m_mutex);
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
        Note& note = m_notes[wavFile];
        note.chunk = chunk;
        note.state = chunk ? Note::State::Ready : Note::State::Bad;
        if (m_wanted == wavFile) {
            m_wanted.reset();
            startLocked(chunk ? chunk : m_alert);
        }
        m_changed.notify_all();
    }
}

Mix_Chunk* SdlPlayer::load(const std::string& wavFile) const
{
    std::vector<std::pair<std::uint64_t, std::uint64_t>> seen;  // one file reached twice is read once
    for (const auto& folder : m_folders) {
        const NoteFile file = readNoteFile(folder.empty() ? std::filesystem::path(wavFile) : folder / wavFile, kMaxFileBytes);
        if (file.outcome != NoteFile::Outcome::Read)
            continue;
        const std::pair identity{file.device, file.inode};
        if (std::find(seen.begin(), seen.end(), identity) != seen.end())
            continue;
        seen.push_back(identity);
        if (!isShortPcmWave(file.bytes, kMaxSeconds))
            continue;
        // Decoded from the bytes already read, into the device's format.
        SDL_RWops* source = SDL_RWFromConstMem(file.bytes.data(), static_cast<int>(file.bytes.size()));
        Mix_Chunk* chunk = source ? Mix_LoadWAV_RW(source, 1) : nullptr;
        if (chunk && chunk->alen > 0)
            return chunk;
        if (chunk)
            Mix_FreeChunk(chunk);
    }
    return nullptr;
}

}  // namespace tonarika
