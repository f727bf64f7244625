#pragma once

// own
#include "SteadyVoicing.h"

// std
#include <array>
#include <span>

struct _aubio_pitch_t;

namespace tonarika {

// aubio's pitch detector over the input, one hop at a time: each hop's pitch, the
// detector's confidence in it, and the hop's level.
class AubioPitch {
public:
    static constexpr unsigned kHop = 256;      // 5.8 ms at 44.1 kHz
    static constexpr unsigned kWindow = 2048;  // two periods of E2 and more

    // "yin" by default: on the voice-like sounds of the tests it finds E2 exactly where
    // "yinfft" is 19 cents sharp, and only it gives a confidence.
    explicit AubioPitch(unsigned sampleRate, const char* method = "yin");
    ~AubioPitch();
    AubioPitch(const AubioPitch&) = delete;
    AubioPitch& operator=(const AubioPitch&) = delete;

    bool valid() const { return m_pitch != nullptr; }
    // `hop` holds kHop samples, from `atMs` after listening began.
    PitchFrame analyse(std::span<const float> hop, double atMs);

private:
    _aubio_pitch_t* m_pitch = nullptr;
    std::array<float, kHop> m_hop{};
};

}  // namespace tonarika
