#include "Mixer.h"

// std
#include <algorithm>
#include <cmath>

namespace tonarika {

void Mixer::start(std::shared_ptr<const Samples> samples, std::int64_t at)
{
    // The sounding note goes on under the new one for its fade, sample for sample as it
    // was, so the switch is seamless wherever the stream was read from.
    m_fading = m_current;
    m_fading.fadeFrom = at;
    m_current = {std::move(samples), at, INT64_MAX};
}

void Mixer::render(std::int64_t from, std::int16_t* out, std::size_t frames) const
{
    const std::int64_t fadeFrames = std::int64_t(m_rate) * kFadeMs / 1000;
    const auto sample = [fadeFrames](const Voice& voice, std::int64_t frame) -> float {
        if (!voice.samples || frame < voice.startFrame || frame - voice.startFrame >= std::int64_t(voice.samples->size()))
            return 0.0f;
        const float value = (*voice.samples)[std::size_t(frame - voice.startFrame)];
        if (frame < voice.fadeFrom)
            return value;
        const std::int64_t into = frame - voice.fadeFrom;
        return into >= fadeFrames ? 0.0f : value * float(fadeFrames - into) / float(fadeFrames);
    };
    for (std::size_t i = 0; i < frames; ++i) {
        const std::int64_t frame = from + std::int64_t(i);
        const float mixed = sample(m_current, frame) + sample(m_fading, frame);
        out[i] = std::int16_t(std::lround(std::clamp(mixed, -32768.0f, 32767.0f)));
    }
}

}  // namespace tonarika
