#pragma once

// own
#include "SoundOutput.h"

// std
#include <cstdint>
#include <memory>

namespace tonarika {

// The mix every output plays, frame by frame of its stream: the note sounding, and the one
// before it fading out over a few milliseconds from where the new one began, so that a
// note that cuts in never clicks. Not for two threads at once: each output calls it under
// its own lock.
class Mixer {
public:
    explicit Mixer(int rate) : m_rate(rate) {}

    int rate() const { return m_rate; }
    // Starts `samples` at frame `at` of the stream; the note sounding fades out from there.
    void start(std::shared_ptr<const Samples> samples, std::int64_t at);
    // Frames [from, from + frames) of the mix.
    void render(std::int64_t from, std::int16_t* out, std::size_t frames) const;

    static constexpr int kFadeMs = 5;  // short enough to feel instant, long enough not to click

private:
    struct Voice {
        std::shared_ptr<const Samples> samples;
        std::int64_t startFrame = 0;
        std::int64_t fadeFrom = INT64_MAX;  // the frame its fade-out begins at
    };

    int m_rate;
    Voice m_current;
    Voice m_fading;
};

}  // namespace tonarika
