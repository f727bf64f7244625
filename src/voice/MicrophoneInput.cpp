#include "MicrophoneInput.h"

// own
#include "AubioPitch.h"
#include "PulseRecording.h"
#include "SdlRecording.h"

// Qt
#include <QLoggingCategory>
#include <QMetaObject>

// std
#include <memory>
#include <utility>
#include <vector>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcVoice, "tonarika.voice", QtWarningMsg)

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// The sound server's input; SDL's capture only where no server runs. Nothing where neither
// opens, and `failure` says why.
std::unique_ptr<Recording> openInput(const std::atomic<bool>& stop, std::string& failure)
{
    auto pulse = std::make_unique<PulseRecording>();
    switch (pulse->open(MicrophoneInput::kSampleRate, AubioPitch::kHop, stop)) {
    case PulseRecording::Opened::Yes:
        return pulse;
    case PulseRecording::Opened::Failed:
        failure = pulse->error();
        return nullptr;
    case PulseRecording::Opened::NoServer:
        break;
    }
    pulse.reset();
    auto sdl = std::make_unique<SdlRecording>();
    if (sdl->open(MicrophoneInput::kSampleRate, AubioPitch::kHop))
        return sdl;
    failure = "no sound server, and SDL's capture: " + sdl->error();
    return nullptr;
}

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
    std::string failure;
    const std::unique_ptr<Recording> input = openInput(m_stop, failure);
    if (!input) {
        if (!m_stop) {
            qCWarning(lcVoice, "the microphone could not be opened: %s", failure.c_str());
            tell(listening, [](VoiceListener& listener) { listener.inputFailed(); });
        }
        return;
    }
    AubioPitch detector(kSampleRate);
    SteadyVoicing voicing;
    std::vector<float> samples;
    std::size_t judged = 0;  // the samples already taken, hop by hop
    while (!m_stop) {
        if (!input->read(samples)) {
            qCWarning(lcVoice, "the microphone went away: %s", input->error().c_str());
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
