#include "AubioPitch.h"

// aubio
#include <aubio/aubio.h>

// std
#include <algorithm>
#include <cmath>

namespace tonarika {

AubioPitch::AubioPitch(unsigned sampleRate, const char* method)
    : m_pitch(new_aubio_pitch(method, kWindow, kHop, sampleRate))
{
    if (!m_pitch)
        return;
    aubio_pitch_set_unit(m_pitch, "Hz");
    // The level is judged here against the room's own noise, not against a fixed silence.
    aubio_pitch_set_silence(m_pitch, -120.0f);
}

AubioPitch::~AubioPitch()
{
    if (m_pitch)
        del_aubio_pitch(m_pitch);
}

PitchFrame AubioPitch::analyse(std::span<const float> hop, double atMs)
{
    double energy = 0;
    const std::size_t count = std::min<std::size_t>(hop.size(), kHop);
    m_hop.fill(0.0f);
    for (std::size_t i = 0; i < count; ++i) {
        m_hop[i] = hop[i];
        energy += double(hop[i]) * double(hop[i]);
    }
    PitchFrame frame;
    frame.atMs = atMs;
    const double rms = std::sqrt(energy / double(kHop));
    frame.levelDb = rms > 0 ? 20.0 * std::log10(rms) : -120.0;
    if (!m_pitch)
        return frame;
    // aubio's vectors are a length and a pointer: these wrap the hop and the one result.
    float found = 0.0f;
    const fvec_t in{kHop, m_hop.data()};
    fvec_t out{1, &found};
    aubio_pitch_do(m_pitch, &in, &out);
    frame.hz = double(found);
    frame.confidence = double(aubio_pitch_get_confidence(m_pitch));
    return frame;
}

}  // namespace tonarika
