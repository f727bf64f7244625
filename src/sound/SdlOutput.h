#pragma once

// own
#include "SoundOutput.h"

// std
#include <array>
#include <atomic>
#include <memory>
#include <mutex>

struct Mix_Chunk;

namespace tonarika {

// The notes through SDL_mixer, for machines without a desktop sound server and for SDL's
// disk and dummy drivers. The device is opened once, at its own rate, mono, with a period
// of 128 frames, so that a note reaches the device within a few milliseconds. A new note
// fades the sounding one out over a few milliseconds instead of cutting it with a click.
// SDL's environment (SDL_AUDIODRIVER and the rest) stays in force; SDL installs no
// signal handlers.
class SdlOutput : public SoundOutput {
public:
    // Nothing, and the cause on stderr, where no device opens.
    static std::unique_ptr<SdlOutput> open();
    ~SdlOutput() override;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    int rate() const override { return m_rate; }
    std::optional<std::chrono::steady_clock::time_point> start(std::shared_ptr<const Samples> samples) override;
    int bufferFrames() const { return m_bufferFrames; }

private:
    SdlOutput() = default;

    // Per-channel fade state. It is written by start(), between halting the channel and
    // registering the fade effect on it, while no effect is attached; from then on only
    // the audio thread's effect reads and writes it, and a later start() merely sets
    // `fading`.
    struct Voice {
        std::atomic<bool> fading{false};
        int fadeFrames = 1;
        int framesLeft = 0;
    };

    // The fade effect: runs on the audio thread on one channel's samples before mixing.
    static void fadeEffect(int channel, void* stream, int length, void* voice);
    // Runs on the audio thread after every mix; the first time, it raises its priority.
    static void raisePriority(int channel, void* stream, int length, void* unused);

    static constexpr int kChannels = 4;

    bool m_sdlStarted = false;
    bool m_open = false;
    int m_rate = 0;
    int m_bufferFrames = 0;
    std::mutex m_mutex;
    int m_nextChannel = 0;
    std::array<Voice, kChannels> m_voices;
    std::array<Mix_Chunk*, kChannels> m_chunks{};                   // each channel's last note
    std::array<std::shared_ptr<const Samples>, kChannels> m_playing;  // and its samples, kept while it plays
};

}  // namespace tonarika
