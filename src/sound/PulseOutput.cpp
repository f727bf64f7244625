#include "PulseOutput.h"

// Qt
#include <QLoggingCategory>

// PulseAudio
#include <pulse/pulseaudio.h>

// std
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcSound, "tonarika.sound", QtWarningMsg)

// Waits on the loop, which its callbacks signal, until `done` holds, at most until
// `deadline`. Needs the loop's lock.
bool waitFor(pa_threaded_mainloop* loop, std::chrono::steady_clock::time_point deadline,
             const std::function<bool()>& done)
{
    if (done())
        return true;
    // The deadline is one more event that signals the loop.
    struct Timeout {
        pa_threaded_mainloop* loop;
        bool passed = false;
    } timeout{loop};
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop);
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
    timeval when{};
    pa_timeval_add(pa_gettimeofday(&when), pa_usec_t(std::max<std::int64_t>(left.count(), 0)));
    pa_time_event* event = api->time_new(
        api, &when,
        [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
            auto& self = *static_cast<Timeout*>(data);
            self.passed = true;
            pa_threaded_mainloop_signal(self.loop, 0);
        },
        &timeout);
    while (!done() && !timeout.passed)
        pa_threaded_mainloop_wait(loop);
    api->time_free(event);
    return done();
}

void signalLoop(void* loop)
{
    pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
}

// Waits for a query's answer; false where none came in time.
bool finish(pa_threaded_mainloop* loop, pa_operation* operation, std::chrono::steady_clock::time_point deadline)
{
    if (!operation)
        return false;
    pa_operation_set_state_callback(
        operation, [](pa_operation*, void* data) { signalLoop(data); }, loop);
    const bool done = waitFor(loop, deadline, [operation] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; });
    pa_operation_set_state_callback(operation, nullptr, nullptr);
    pa_operation_unref(operation);
    return done;
}

struct ServerFacts {
    std::string defaultSink;
    int rate = 0;
};

}  // namespace

std::unique_ptr<PulseOutput> PulseOutput::open(std::chrono::milliseconds wait)
{
    std::unique_ptr<PulseOutput> output(new PulseOutput);
    if (!output->connect(wait))
        return nullptr;
    return output;
}

bool PulseOutput::connect(std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop)
        return false;
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Tonarika");
    // Its changes wake whoever waits on the loop; once the first connection is made, a
    // loss is connected to again.
    if (m_context)
        pa_context_set_state_callback(m_context, &PulseOutput::onContextState, this);
    if (!m_context || pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        qCInfo(lcSound, "no sound server: %s", m_context ? pa_strerror(pa_context_errno(m_context)) : "no context");
        return false;
    }
    if (pa_threaded_mainloop_start(m_loop) < 0)
        return false;
    pa_threaded_mainloop_lock(m_loop);
    const auto unlockAnd = [this](bool result) {
        pa_threaded_mainloop_unlock(m_loop);
        return result;
    };
    const bool ready = waitFor(m_loop, deadline, [this] {
        const auto state = pa_context_get_state(m_context);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    });
    if (!ready || pa_context_get_state(m_context) != PA_CONTEXT_READY) {
        qCInfo(lcSound, "no sound server: %s", ready ? pa_strerror(pa_context_errno(m_context)) : "it did not answer in time");
        return unlockAnd(false);
    }

    // The default sink's own rate, so that the server resamples nothing.
    ServerFacts facts;
    finish(m_loop,
           pa_context_get_server_info(
               m_context,
               [](pa_context*, const pa_server_info* info, void* data) {
                   auto& found = *static_cast<ServerFacts*>(data);
                   if (info) {
                       found.defaultSink = info->default_sink_name ? info->default_sink_name : "";
                       found.rate = int(info->sample_spec.rate);
                   }
               },
               &facts),
           deadline);
    if (!facts.defaultSink.empty()) {
        finish(m_loop,
               pa_context_get_sink_info_by_name(
                   m_context, facts.defaultSink.c_str(),
                   [](pa_context*, const pa_sink_info* info, int end, void* data) {
                       if (!end && info)
                           static_cast<ServerFacts*>(data)->rate = int(info->sample_spec.rate);
                   },
                   &facts),
               deadline);
    }
    m_rate = facts.rate >= 8000 && facts.rate <= 192000 ? facts.rate : kDefaultRate;

    if (!makeStream())
        return unlockAnd(false);
    const bool streaming = waitFor(m_loop, deadline, [this] {
        const auto state = pa_stream_get_state(m_stream);
        return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
    });
    if (!streaming || pa_stream_get_state(m_stream) != PA_STREAM_READY) {
        qCWarning(lcSound, "no sound: the sound server's stream did not start: %s",
                  streaming ? pa_strerror(pa_context_errno(m_context)) : "no answer in time");
        return unlockAnd(false);
    }
    // The first timing, so that the first note knows where the server reads.
    finish(m_loop, pa_stream_update_timing_info(m_stream, nullptr, nullptr), deadline);
    // From now on a server that goes away is connected to again.
    m_established = true;
    m_ready.store(true, std::memory_order_release);
    return unlockAnd(true);
}

bool PulseOutput::makeStream()
{
    const pa_sample_spec spec{PA_SAMPLE_S16NE, std::uint32_t(m_rate), 1};
    m_stream = pa_stream_new(m_context, "Tonarika", &spec, nullptr);
    if (!m_stream)
        return false;
    // The server asks for more when half the quarter second is gone, and keeps the sink's
    // own buffer, the difference of the two, a couple of milliseconds long.
    const std::uint32_t frameBytes = sizeof(std::int16_t);
    const std::uint32_t half = std::uint32_t(m_rate) * kAheadMs / 2000 * frameBytes;
    pa_buffer_attr attributes{};
    attributes.maxlength = std::uint32_t(-1);
    attributes.minreq = half;
    attributes.tlength = 2 * half + std::uint32_t(m_rate) * kSinkMs / 1000 * frameBytes;
    attributes.prebuf = 0;  // never stopped for want of samples: the read position runs on
    attributes.fragsize = std::uint32_t(-1);
    pa_stream_set_write_callback(m_stream, &PulseOutput::onWrite, this);
    pa_stream_set_state_callback(m_stream, &PulseOutput::onStreamState, this);
    // A new stream counts its frames from nought, and what sounded on the old one is gone.
    m_written = 0;
    m_mixer = Mixer(m_rate);
    const auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE
                                         | PA_STREAM_NOT_MONOTONIC);
    if (pa_stream_connect_playback(m_stream, nullptr, &attributes, flags, nullptr, nullptr) < 0) {
        qCWarning(lcSound, "no sound: the sound server refused a stream: %s", pa_strerror(pa_context_errno(m_context)));
        return false;
    }
    return true;
}

void PulseOutput::onContextState(pa_context* context, void* data)
{
    auto& self = *static_cast<PulseOutput*>(data);
    pa_threaded_mainloop_signal(self.m_loop, 0);
    if (context != self.m_context || !self.m_established)
        return;
    const auto state = pa_context_get_state(context);
    if (state == PA_CONTEXT_READY && !self.m_stream) {
        if (!self.makeStream())
            self.lost("it refused a stream");
    } else if (!PA_CONTEXT_IS_GOOD(state)) {
        self.lost(pa_strerror(pa_context_errno(context)));
    }
}

void PulseOutput::onStreamState(pa_stream* stream, void* data)
{
    auto& self = *static_cast<PulseOutput*>(data);
    pa_threaded_mainloop_signal(self.m_loop, 0);
    if (stream != self.m_stream || !self.m_established)
        return;
    const auto state = pa_stream_get_state(stream);
    if (state == PA_STREAM_READY) {
        if (!self.m_ready.exchange(true))
            qCWarning(lcSound, "the sound server is back: notes sound again");
        self.m_retryMs = kFirstRetryMs;
    } else if (!PA_STREAM_IS_GOOD(state)) {
        self.lost("the stream ended");
    }
}

void PulseOutput::lost(const char* why)
{
    if (m_ready.exchange(false))
        qCWarning(lcSound, "the sound server went away (%s): it is connected to again in the background", why);
    if (m_retry)
        return;
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop);
    timeval when{};
    pa_timeval_add(pa_gettimeofday(&when), pa_usec_t(m_retryMs) * 1000);
    m_retry = api->time_new(api, &when, &PulseOutput::onRetry, this);
    m_retryMs = std::min(2 * m_retryMs, kMostRetryMs);
}

void PulseOutput::onRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval* /*when*/, void* data)
{
    auto& self = *static_cast<PulseOutput*>(data);
    api->time_free(event);
    self.m_retry = nullptr;
    // Out of every callback of the old connection: here it can go.
    self.dropConnection();
    self.m_context = pa_context_new(api, "Tonarika");
    if (!self.m_context) {
        self.lost("no context");
        return;
    }
    pa_context_set_state_callback(self.m_context, &PulseOutput::onContextState, &self);
    if (pa_context_connect(self.m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        self.lost(pa_strerror(pa_context_errno(self.m_context)));
}

void PulseOutput::dropConnection()
{
    if (m_stream) {
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
}

PulseOutput::~PulseOutput()
{
    if (m_loop) {
        pa_threaded_mainloop_lock(m_loop);
        if (m_retry)
            pa_threaded_mainloop_get_api(m_loop)->time_free(m_retry);
        m_retry = nullptr;
    }
    dropConnection();
    if (m_loop) {
        pa_threaded_mainloop_unlock(m_loop);
        pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
    }
}

void PulseOutput::onWrite(pa_stream* /*stream*/, std::size_t bytes, void* data)
{
    auto& self = *static_cast<PulseOutput*>(data);
    self.fill(self.m_written + std::int64_t(bytes / sizeof(std::int16_t)));
}

void PulseOutput::fill(std::int64_t until)
{
    double sinkFrames = 0;
    // Behind the read position (the machine was too busy for a while): on from there.
    const std::int64_t read = readFrame(sinkFrames);
    const std::int64_t from = std::max(m_written, read);
    writeAt(from, std::max(until, from + std::int64_t(m_rate) * kAheadMs / 1000 / 2));
}

bool PulseOutput::writeAt(std::int64_t from, std::int64_t until)
{
    if (until <= from)
        return true;
    const auto frames = std::size_t(until - from);
    m_buffer.resize(frames);
    m_mixer.render(from, m_buffer.data(), frames);
    if (pa_stream_write(m_stream, m_buffer.data(), frames * sizeof(std::int16_t), nullptr,
                        from * std::int64_t(sizeof(std::int16_t)), PA_SEEK_ABSOLUTE)
        < 0) {
        qCWarning(lcSound, "the sound server took no samples: %s", pa_strerror(pa_context_errno(m_context)));
        return false;
    }
    m_written = std::max(m_written, until);
    return true;
}

std::int64_t PulseOutput::readFrame(double& sinkFrames) const
{
    const pa_timing_info* timing = pa_stream_get_timing_info(m_stream);
    pa_usec_t played = 0;
    if (!timing || pa_stream_get_time(m_stream, &played) < 0) {
        // No timing yet: as if the server read what was written last.
        sinkFrames = 0;
        return m_written;
    }
    // The time played at the speaker, and the sink's buffer before it, is what was read.
    sinkFrames = double(timing->sink_usec) * m_rate / 1e6;
    return std::int64_t(std::llround(double(played) * m_rate / 1e6 + sinkFrames));
}

std::optional<std::chrono::steady_clock::time_point> PulseOutput::start(std::shared_ptr<const Samples> samples)
{
    const auto now = std::chrono::steady_clock::now();
    pa_threaded_mainloop_lock(m_loop);
    if (!m_ready.load(std::memory_order_acquire)) {
        pa_threaded_mainloop_unlock(m_loop);
        return std::nullopt;
    }
    double sinkFrames = 0;
    const std::int64_t read = readFrame(sinkFrames);
    const std::int64_t at = read + std::int64_t(m_rate) * kMarginUs / 1'000'000;
    // Written over what was queued from there on.
    m_mixer.start(std::move(samples), at);
    const bool written = writeAt(at, std::max(m_written, at + std::int64_t(m_rate) * kAheadMs / 1000));
    pa_threaded_mainloop_unlock(m_loop);
    if (!written)
        return std::nullopt;
    return reachesDevice(now, at, read, sinkFrames, m_rate);
}

std::chrono::steady_clock::time_point PulseOutput::reachesDevice(std::chrono::steady_clock::time_point now,
                                                                 std::int64_t at, std::int64_t read, double sinkFrames,
                                                                 int rate)
{
    // The frames before it that the server has yet to read, then the sink's own.
    const double ahead = (double(at - read) + sinkFrames) / rate;
    return now + std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(ahead));
}

}  // namespace tonarika
