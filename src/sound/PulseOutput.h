#pragma once

// own
#include "SoundOutput.h"

// std
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace tonarika {

// The notes through the desktop's sound server (PulseAudio, or PipeWire's PulseAudio
// server), on one mono stream at the default sink's rate. The stream is kept filled a
// quarter of a second ahead, silence too, so that a busy machine never leaves the server
// without samples. A new note does not queue behind that: it is written over what was
// queued, from just past the server's read position, so it sounds as soon as the server's
// own short latency allows. What it replaces is the same mix with the sounding note
// faded out over a few milliseconds, so the cut never clicks, wherever the read position
// really was. A note's start is the moment its first sample reaches the device: the
// read position, the server's reported sink latency and the margin counted in.
class PulseOutput : public SoundOutput {
public:
    // Nothing, and the cause on stderr, where no server answers within `wait`. Never
    // starts a server.
    static std::unique_ptr<PulseOutput> open(std::chrono::milliseconds wait = std::chrono::seconds(2));
    ~PulseOutput() override;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    int rate() const override { return m_rate; }
    std::optional<std::chrono::steady_clock::time_point> start(std::shared_ptr<const Samples> samples) override;

    static constexpr int kAheadMs = 250;  // how far the stream is kept filled
    static constexpr int kSinkMs = 2;     // the latency asked of the server's sink
    static constexpr int kMarginUs = 1000;  // past the estimated read position, for its error
    static constexpr int kFadeMs = 5;

private:
    struct Voice {
        std::shared_ptr<const Samples> samples;
        std::int64_t startFrame = 0;
        std::int64_t fadeFrom = INT64_MAX;  // the frame its fade-out begins at
    };

    PulseOutput() = default;
    bool connect(std::chrono::milliseconds wait);
    static void onWrite(pa_stream* stream, std::size_t bytes, void* output);
    // Renders the mix from m_written on and writes it, until `until`. Needs the loop's lock.
    void fill(std::int64_t until);
    // Writes the mix of frames [from, until) at its place in the stream. Needs the loop's lock.
    bool writeAt(std::int64_t from, std::int64_t until);
    void render(std::int64_t from, std::int16_t* out, std::size_t frames) const;
    // The frame the server reads next, and the sink's latency after it, in frames, as
    // best known now. Needs the loop's lock.
    std::int64_t readFrame(double& sinkFrames) const;

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    int m_rate = 0;
    std::int64_t m_written = 0;  // the stream's write index, in frames
    Voice m_current;
    Voice m_fading;
    std::vector<std::int16_t> m_buffer;
};

}  // namespace tonarika
