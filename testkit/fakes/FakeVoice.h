#pragma once

// own
#include "VoiceInput.h"

// std
#include <utility>

namespace tonarika::test {

// Listens when told to, and hears what a test says was sung.
class FakeVoice : public VoiceInput {
public:
    VoiceListener* listener = nullptr;  // while it listens
    std::chrono::milliseconds limit{0};
    int listens = 0;

    void listen(VoiceListener& to, std::chrono::milliseconds within) override
    {
        listener = &to;
        limit = within;
        ++listens;
    }
    void stop() override { listener = nullptr; }

    // What listening came to; it has stopped by then.
    void sing(const SungPitch& pitch) { std::exchange(listener, nullptr)->voiceHeard(pitch); }
    void silence() { std::exchange(listener, nullptr)->nothingHeard(); }
    void fail() { std::exchange(listener, nullptr)->inputFailed(); }
};

}  // namespace tonarika::test
