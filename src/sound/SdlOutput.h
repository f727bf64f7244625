#pragma once

// own
#include "Mixer.h"
#include "SoundOutput.h"

// std
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace tonarika {

// The notes through SDL's audio device, for machines without a desktop sound server and
// for SDL's disk and dummy drivers. The device is opened once, at its own rate, mono, with
// a period of 128 frames, so that a note reaches the device within a few milliseconds; its
// callback plays the mixer, in which a new note fades the sounding one out. SDL's
// environment (SDL_AUDIODRIVER and the rest) stays in force; SDL installs no signal
// handlers.
class SdlOutput : public SoundOutput {
public:
    // Nothing, and the cause on stderr, where no device opens.
    static std::unique_ptr<SdlOutput> open();
    ~SdlOutput() override;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    int rate() const override { return m_mixer.rate(); }
    std::optional<std::chrono::steady_clock::time_point> start(std::shared_ptr<const Samples> samples) override;
    int bufferFrames() const { return m_bufferFrames; }
    // What sees each period as it goes to the device, on the device's thread; for a
    // benchmark of how soon a note gets there.
    using Tap = std::function<void(std::span<const std::int16_t> period)>;
    void setTap(Tap tap);

private:
    explicit SdlOutput(int rate) : m_mixer(rate) {}
    // The device's callback, on its thread: the next period of the mix. The first time, it
    // asks for a real-time priority.
    static void play(void* output, std::uint8_t* stream, int bytes);

    bool m_sdlStarted = false;
    std::uint32_t m_device = 0;
    int m_bufferFrames = 0;
    // The frame of the mix the device takes next; with the mixer, under the device's lock.
    std::int64_t m_frame = 0;
    bool m_priorityAsked = false;
    Mixer m_mixer;
    Tap m_tap;
};

}  // namespace tonarika
