#include "PulseRecording.h"

// PulseAudio
#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>

// std
#include <cstdint>

namespace tonarika {

namespace {

// How long one wait for the server may take: the caller looks at stop() and the time
// allowed between waits.
constexpr int kWaitUs = 20'000;

}  // namespace

PulseRecording::PulseRecording()
    : m_loop(pa_mainloop_new())
    , m_context(pa_context_new(pa_mainloop_get_api(m_loop), "Tonarika"))
{
}

PulseRecording::~PulseRecording()
{
    if (m_stream) {
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
    }
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    pa_mainloop_free(m_loop);
}

PulseRecording::Opened PulseRecording::open(unsigned rate, unsigned hop, const std::atomic<bool>& stop)
{
    // No server is started for the microphone: where none runs, SDL's capture is next.
    if (!m_context || pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return Opened::NoServer;
    while (pa_context_get_state(m_context) != PA_CONTEXT_READY) {
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)))
            return Opened::NoServer;
        if (stop || !wait())
            return Opened::Failed;
    }
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, rate, 1};
    m_stream = pa_stream_new(m_context, "声の答え", &spec, nullptr);
    // Small fragments: each hop is judged as soon as it has been heard.
    pa_buffer_attr attributes{};
    attributes.maxlength = std::uint32_t(-1);
    attributes.fragsize = std::uint32_t(hop * sizeof(float));
    if (!m_stream || pa_stream_connect_record(m_stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY) < 0)
        return Opened::Failed;
    while (pa_stream_get_state(m_stream) != PA_STREAM_READY) {
        if (!PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)))
            return Opened::Failed;
        if (stop || !wait())
            return Opened::Failed;
    }
    return Opened::Yes;
}

bool PulseRecording::read(std::vector<float>& samples)
{
    if (!wait() || !PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)))
        return false;
    while (pa_stream_readable_size(m_stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(m_stream, &data, &bytes) < 0)
            return false;
        if (bytes == 0)
            break;
        // A hole in the record (data null) is silence.
        const auto* first = static_cast<const float*>(data);
        if (first)
            samples.insert(samples.end(), first, first + bytes / sizeof(float));
        else
            samples.insert(samples.end(), bytes / sizeof(float), 0.0f);
        pa_stream_drop(m_stream);
    }
    return true;
}

std::string PulseRecording::error() const
{
    return m_context ? pa_strerror(pa_context_errno(m_context)) : "no context";
}

bool PulseRecording::wait()
{
    return pa_mainloop_prepare(m_loop, kWaitUs) >= 0 && pa_mainloop_poll(m_loop) >= 0 && pa_mainloop_dispatch(m_loop) >= 0;
}

}  // namespace tonarika
