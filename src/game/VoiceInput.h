#pragma once

// own
#include "SteadyVoicing.h"

// std
#include <chrono>
#include <string>

namespace tonarika {

// What listening for a sung answer comes to; each is called once, on the window's thread.
class VoiceListener {
public:
    virtual ~VoiceListener() = default;
    // A pitch sung, its times from when listening began.
    virtual void voiceHeard(const SungPitch& pitch) = 0;
    // The time allowed passed with no steady voice.
    virtual void nothingHeard() = 0;
    // No input could be opened, or it went away.
    virtual void inputFailed() = 0;
};

// The desktop's input, opened only while it listens and closed once it has an answer.
class VoiceInput {
public:
    virtual ~VoiceInput() = default;
    // Listens for up to `limit`; a listening already going is stopped first.
    virtual void listen(VoiceListener& listener, std::chrono::milliseconds limit) = 0;
    // Stops listening, and nothing more is told of it.
    virtual void stop() = 0;
};

}  // namespace tonarika
