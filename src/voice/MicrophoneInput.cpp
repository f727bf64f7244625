#include "MicrophoneInput.h"

// own
#include "AubioPitch.h"

// Qt
#include <QLoggingCategory>
#include <QMetaObject>

// PulseAudio
#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>

// std
#include <utility>
#include <vector>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcVoice, "tonarika.voice", QtWarningMsg)

// How long one wait for the server may take: stop() and the time allowed are looked at
// between waits, so that nothing waits on a server that sends nothing.
constexpr int kWaitUs = 20'000;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// A record stream on a main loop of the thread's own, each wait bounded.
class RecordStream {
public:
    RecordStream()
        : m_loop(pa_mainloop_new())
        , m_context(pa_context_new(pa_mainloop_get_api(m_loop), "Tonarika"))
    {
    }
    ~RecordStream()
    {
        if (m_stream) {
            pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
        }
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        pa_mainloop_free(m_loop);
    }
    RecordStream(const RecordStream&) = delete;
    RecordStream& operator=(const RecordStream&) = delete;

    // Connects to the server and opens the default input; what went wrong, or nothing.
    const char* open(unsigned rate, const std::atomic<bool>& stop)
    {
        if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0)
            return pa_strerror(pa_context_errno(m_context));
        while (pa_context_get_state(m_context) != PA_CONTEXT_READY) {
            if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)))
                return pa_strerror(pa_context_errno(m_context));
            if (stop || !wait())
                return "stopped";
        }
        const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, rate, 1};
        m_stream = pa_stream_new(m_context, "声の答え", &spec, nullptr);
        // Small fragments: each hop is judged as soon as it has been heard.
        pa_buffer_attr attributes{};
        attributes.maxlength = std::uint32_t(-1);
        attributes.fragsize = AubioPitch::kHop * sizeof(float);
        if (!m_stream || pa_stream_connect_record(m_stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY) < 0)
            return pa_strerror(pa_context_errno(m_context));
        while (pa_stream_get_state(m_stream) != PA_STREAM_READY) {
            if (!PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)))
                return pa_strerror(pa_context_errno(m_context));
            if (stop || !wait())
                return "stopped";
        }
        return nullptr;
    }

    // Waits once for the server, and appends what it sent; false where the stream failed.
    bool read(std::vector<float>& samples)
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

    const char* error() const { return pa_strerror(pa_context_errno(m_context)); }

private:
    bool wait()
    {
        return pa_mainloop_prepare(m_loop, kWaitUs) >= 0 && pa_mainloop_poll(m_loop) >= 0 && pa_mainloop_dispatch(m_loop) >= 0;
    }

    pa_mainloop* m_loop;
    pa_context* m_context;
    pa_stream* m_stream = nullptr;
};

}  // namespace

MicrophoneInput::MicrophoneInput(QObject* parent)
    : QObject(parent)
{
}

MicrophoneInput::~MicrophoneInput()
{
    stop();
}

void MicrophoneInput::listen(VoiceListener& listener, std::chrono::milliseconds limit)
{
    stop();
    m_listener = &listener;
    m_stop = false;
    m_thread = std::thread([this, limit, listening = m_listening, from = Clock::now()] { record(limit, listening, from); });
}

void MicrophoneInput::stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    m_listener = nullptr;
    ++m_listening;
}

template <typename Tell>
void MicrophoneInput::tell(std::uint64_t listening, Tell told)
{
    QMetaObject::invokeMethod(
        this,
        [this, listening, told] {
            if (listening != m_listening || !m_listener)
                return;
            told(*std::exchange(m_listener, nullptr));
        },
        Qt::QueuedConnection);
}

void MicrophoneInput::record(std::chrono::milliseconds limit, std::uint64_t listening, Clock::time_point from)
{
    RecordStream stream;
    if (const char* failure = stream.open(kSampleRate, m_stop)) {
        if (!m_stop) {
            qCWarning(lcVoice, "the microphone could not be opened: %s", failure);
            tell(listening, [](VoiceListener& listener) { listener.inputFailed(); });
        }
        return;
    }
    AubioPitch detector(kSampleRate);
    SteadyVoicing voicing;
    std::vector<float> samples;
    std::size_t judged = 0;  // the samples already taken, hop by hop
    while (!m_stop) {
        if (!stream.read(samples)) {
            qCWarning(lcVoice, "the microphone went away: %s", stream.error());
            tell(listening, [](VoiceListener& listener) { listener.inputFailed(); });
            return;
        }
        // Each hop's time is the clock's when it was read, less what was heard after it.
        const double readMs = msSince(from);
        for (; judged + AubioPitch::kHop <= samples.size(); judged += AubioPitch::kHop) {
            const double atMs = readMs - 1000.0 * double(samples.size() - judged) / kSampleRate;
            const PitchFrame frame = detector.analyse({samples.data() + judged, AubioPitch::kHop}, atMs);
            if (const auto pitch = voicing.feed(frame)) {
                tell(listening, [pitch = *pitch](VoiceListener& listener) { listener.voiceHeard(pitch); });
                return;
            }
        }
        if (readMs >= double(limit.count())) {
            tell(listening, [](VoiceListener& listener) { listener.nothingHeard(); });
            return;
        }
        // What is judged is not kept: nothing of the voice stays longer than it must.
        if (judged > 0) {
            samples.erase(samples.begin(), samples.begin() + std::ptrdiff_t(judged));
            judged = 0;
        }
    }
}

}  // namespace tonarika
