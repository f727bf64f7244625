#include "SdlOutput.h"

// own
#include "RealtimePriority.h"

// Qt
#include <QLoggingCategory>

// SDL
#include <SDL.h>
#include <SDL_mixer.h>

// std
#include <cmath>

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

}  // namespace

// The samples are signed 16-bit, one channel, as the device was opened.
void SdlOutput::fadeEffect(int /*channel*/, void* stream, int length, void* data)
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
// the lowest there is, where the system allows it and its real-time budget is safe;
// otherwise it runs as before. The thread is the device's, shared by every output of the
// process: so is the flag, and the effect holds no pointer to an output that another
// output's device could outlive.
void SdlOutput::raisePriority(int /*channel*/, void* /*stream*/, int /*length*/, void* /*unused*/)
{
    static std::atomic_flag asked;
    if (asked.test_and_set())
        return;
    if (const auto why = raiseCallingThreadToRealtime())
        qCInfo(lcSound, "the audio thread keeps its ordinary priority: %s", why->c_str());
}

std::unique_ptr<SdlOutput> SdlOutput::open()
{
    std::unique_ptr<SdlOutput> output(new SdlOutput);
    // SDL would turn SIGINT and SIGTERM into a quit event that nothing here reads; the
    // program handles them itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL_HINT_THREAD_FORCE_REALTIME_TIME_CRITICAL stays off: with it, SDL sets
    // RLIMIT_RTTIME to whatever RealtimeKit or the desktop portal grants, 0 where neither
    // grants anything, and the first real-time period then gets the process killed.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        qCWarning(lcSound, "no sound: SDL's audio could not start: %s", SDL_GetError());
        return nullptr;
    }
    output->m_sdlStarted = true;
    // A fixed sample format lets the fade work on known samples; the rate is the device's.
    const int rate = deviceRate();
    for (const int frames : kBufferFrames) {
        if (Mix_OpenAudioDevice(rate, AUDIO_S16SYS, kOutputChannels, frames, nullptr, 0) == 0) {
            output->m_bufferFrames = frames;
            output->m_open = true;
            std::uint16_t format = 0;
            int channels = 0;
            Mix_QuerySpec(&output->m_rate, &format, &channels);
            Mix_AllocateChannels(kChannels);
            Mix_RegisterEffect(MIX_CHANNEL_POST, raisePriority, nullptr, nullptr);
            return output;
        }
    }
    qCWarning(lcSound, "no sound: no sound device could be opened: %s", Mix_GetError());
    return nullptr;
}

SdlOutput::~SdlOutput()
{
    if (m_open) {
        Mix_HaltChannel(-1);
        for (Mix_Chunk* chunk : m_chunks) {
            if (chunk)
                Mix_FreeChunk(chunk);  // the chunk alone: its samples are the note's
        }
        Mix_CloseAudio();
    }
    if (m_sdlStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::optional<std::chrono::steady_clock::time_point> SdlOutput::start(std::shared_ptr<const Samples> samples)
{
    std::lock_guard lock(m_mutex);
    for (int channel = 0; channel < kChannels; ++channel) {
        if (Mix_Playing(channel))
            m_voices[static_cast<std::size_t>(channel)].fading.store(true, std::memory_order_release);
    }
    // Round robin: the channel taken next faded out long ago.
    const int channel = m_nextChannel;
    const auto slot = static_cast<std::size_t>(channel);
    m_nextChannel = (m_nextChannel + 1) % kChannels;
    Mix_HaltChannel(channel);  // also drops the channel's effect
    if (m_chunks[slot])
        Mix_FreeChunk(m_chunks[slot]);
    m_playing[slot] = std::move(samples);
    // SDL_mixer only reads the samples; the chunk does not own them.
    m_chunks[slot] = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(const_cast<std::int16_t*>(m_playing[slot]->data())),
                                       static_cast<Uint32>(m_playing[slot]->size() * sizeof(std::int16_t)));
    Voice& voice = m_voices[slot];
    voice.fading.store(false, std::memory_order_relaxed);
    voice.fadeFrames = m_rate * kFadeMs / 1000;
    voice.framesLeft = voice.fadeFrames;
    if (!m_chunks[slot] || Mix_PlayChannel(channel, m_chunks[slot], 0) < 0) {
        qCWarning(lcSound, "a note could not be started: %s", Mix_GetError());
        return std::nullopt;
    }
    Mix_RegisterEffect(channel, fadeEffect, nullptr, &voice);
    // The mixer's next period takes it to the device; what lies beyond, SDL does not say.
    return std::chrono::steady_clock::now()
           + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
               std::chrono::duration<double>(double(m_bufferFrames) / m_rate));
}

}  // namespace tonarika
