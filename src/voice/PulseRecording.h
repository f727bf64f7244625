#pragma once

// own
#include "Recording.h"

// std
#include <atomic>

struct pa_context;
struct pa_mainloop;
struct pa_stream;

namespace tonarika {

// A record stream of the game's own, "声の答え", on the sound server's default input
// (PulseAudio, or PipeWire's PulseAudio server), on a main loop of the thread's own whose
// every wait is bounded, so that nothing waits on a server that sends nothing.
class PulseRecording : public Recording {
public:
    enum class Opened { Yes, NoServer, Failed };

    PulseRecording();
    ~PulseRecording() override;
    PulseRecording(const PulseRecording&) = delete;
    PulseRecording& operator=(const PulseRecording&) = delete;

    // Connects to the server and opens its default input, sent `hop` samples at a time,
    // unless `stop` is set meanwhile.
    Opened open(unsigned rate, unsigned hop, const std::atomic<bool>& stop);
    bool read(std::vector<float>& samples) override;
    std::string error() const override;

private:
    bool wait();

    pa_mainloop* m_loop;
    pa_context* m_context;
    pa_stream* m_stream = nullptr;
};

}  // namespace tonarika
