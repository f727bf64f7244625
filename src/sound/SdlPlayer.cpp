#include "SdlPlayer.h"

// SDL
#include <SDL.h>
#include <SDL_mixer.h>

// std
#include <algorithm>
#include <cmath>
#include <numbers>

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

SdlPlayer::SdlPlayer(std::filesystem::path fallbackFolder)
    : m_fallbackFolder(std::move(fallbackFolder))
{
    openDevice();
}

SdlPlayer::~SdlPlayer()
{
    if (m_open) {
        Mix_HaltChannel(-1);
        for (auto& [name, chunk] : m_chunks)
            Mix_FreeChunk(chunk);
        if (m_alert)
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
            return true;
        }
    }
    return false;
}

void SdlPlayer::play(std::string_view wavFile)
{
    if (!openDevice())
        throw SoundError(std::string("no audio device: ") + SDL_GetError());

    Mix_Chunk* chunk = chunkFor(wavFile);
    for (int channel = 0; channel < kChannels; ++channel) {
        if (Mix_Playing(channel))
            m_voices[channel].fading.store(true, std::memory_order_release);
    }

    // Round robin: the channel taken next faded out long ago.
    const int channel = m_nextChannel;
    m_nextChannel = (m_nextChannel + 1) % kChannels;
    Mix_HaltChannel(channel);  // also drops the channel's effect
    Voice& voice = m_voices[channel];
    voice.fading.store(false, std::memory_order_relaxed);
    voice.framesLeft = kFadeFrames;
    if (Mix_PlayChannel(channel, chunk, 0) < 0)
        throw SoundError(std::string("cannot play: ") + Mix_GetError());
    Mix_RegisterEffect(channel, fadeEffect, nullptr, &voice);
}

Mix_Chunk* SdlPlayer::chunkFor(std::string_view wavFile)
{
    const std::string key(wavFile);
    if (const auto found = m_chunks.find(key); found != m_chunks.end())
        return found->second;

    std::vector<std::filesystem::path> candidates{key};
    if (!m_fallbackFolder.empty())
        candidates.push_back(m_fallbackFolder / key);
    for (const auto& path : candidates) {
        if (Mix_Chunk* chunk = Mix_LoadWAV(path.c_str())) {
            m_chunks.emplace(key, chunk);
            return chunk;
        }
    }
    return alertTone();
}

Mix_Chunk* SdlPlayer::alertTone()
{
    if (!m_alert) {
        m_alertSamples = makeAlertTone();
        m_alert = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(m_alertSamples.data()),
                                    static_cast<Uint32>(m_alertSamples.size() * sizeof(short)));
    }
    return m_alert;
}

}  // namespace tonarika
