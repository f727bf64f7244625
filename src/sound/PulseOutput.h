#pragma once

// own
#include "Mixer.h"
#include "SoundOutput.h"

// std
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

struct pa_context;
struct pa_mainloop_api;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;
struct timeval;

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
// A server that goes away (a restart, a suspend) is connected to again in the background,
// after 0.1 s, then after twice as long each time up to kMostRetryMs; meanwhile the output
// is not available, and the first note after the server is back sounds again.
class PulseOutput : public SoundOutput {
public:
    // Nothing, and the cause on stderr, where no server answers within `wait`. Never
    // starts a server. It waits: open it where nobody waits for it.
    static std::unique_ptr<PulseOutput> open(std::chrono::milliseconds wait = std::chrono::seconds(2));
    ~PulseOutput() override;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    int rate() const override { return m_rate; }
    std::optional<std::chrono::steady_clock::time_point> start(std::shared_ptr<const Samples> samples) override;
    bool available() const override { return m_ready.load(std::memory_order_acquire); }

    // When frame `at` of the stream reaches the device, reckoned at `now`, when the server
    // reads frame `read` next and the sink holds `sinkFrames` frames before the device.
    static std::chrono::steady_clock::time_point reachesDevice(std::chrono::steady_clock::time_point now,
                                                               std::int64_t at, std::int64_t read, double sinkFrames,
                                                               int rate);

    static constexpr int kAheadMs = 250;  // how far the stream is kept filled
    static constexpr int kSinkMs = 2;     // the latency asked of the server's sink
    static constexpr int kMarginUs = 2000;  // past the estimated read position, for its error
    static constexpr int kDefaultRate = 44100;  // where the server does not say its sink's
    static constexpr int kFirstRetryMs = 100;
    static constexpr int kMostRetryMs = 2000;

private:
    PulseOutput() = default;
    bool connect(std::chrono::milliseconds wait);
    // Makes the stream on a ready context; false where the server refused it. Needs the
    // loop's lock.
    bool makeStream();
    // The server or the stream went away: not available until a new connection is ready,
    // which is tried after the back-off. Needs the loop's lock.
    void lost(const char* why);
    // Lets go of the stream and the context. Needs the loop's lock.
    void dropConnection();
    static void onContextState(pa_context* context, void* output);
    static void onStreamState(pa_stream* stream, void* output);
    static void onRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval* when, void* output);
    static void onWrite(pa_stream* stream, std::size_t bytes, void* output);
    // Renders the mix from m_written on and writes it, until `until`. Needs the loop's lock.
    void fill(std::int64_t until);
    // Writes the mix of frames [from, until) at its place in the stream. Needs the loop's lock.
    bool writeAt(std::int64_t from, std::int64_t until);
    // The frame the server reads next, and the sink's latency after it, in frames, as
    // best known now. Needs the loop's lock.
    std::int64_t readFrame(double& sinkFrames) const;

    pa_threaded_mainloop* m_loop = nullptr;
    std::atomic<bool> m_ready{false};  // a stream is ready for samples
    bool m_established = false;        // the first connection was made: losses reconnect
    pa_time_event* m_retry = nullptr;  // the next connection's attempt, while one is due
    int m_retryMs = kFirstRetryMs;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    int m_rate = 0;
    std::int64_t m_written = 0;  // the stream's write index, in frames
    Mixer m_mixer{kDefaultRate};
    std::vector<std::int16_t> m_buffer;
};

}  // namespace tonarika
