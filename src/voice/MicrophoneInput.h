#pragma once

// own
#include "VoiceInput.h"

// Qt
#include <QObject>

// std
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace tonarika {

// The desktop's default input, through PulseAudio (or PipeWire's PulseAudio server) as a
// record stream of its own, named so that the desktop shows the game using the
// microphone, or through SDL's capture where no server runs. Opened only while it
// listens, on a thread of its own; each hop's pitch by aubio, the answer by the
// steady-voicing rule, told on the window's thread. Nothing is ever written anywhere.
class MicrophoneInput : public QObject, public VoiceInput {
    Q_OBJECT
public:
    static constexpr unsigned kSampleRate = 44100;

    explicit MicrophoneInput(QObject* parent = nullptr);
    ~MicrophoneInput() override;

    void listen(VoiceListener& listener, std::chrono::milliseconds limit) override;
    void stop() override;

private:
    void record(std::chrono::milliseconds limit, std::uint64_t listening, std::chrono::steady_clock::time_point from);
    // Tells the listener on the window's thread, unless it has stopped listening since.
    template <typename Tell>
    void tell(std::uint64_t listening, Tell told);

    VoiceListener* m_listener = nullptr;
    std::uint64_t m_listening = 0;  // one more for each listening, so that an old one's news is dropped
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace tonarika
