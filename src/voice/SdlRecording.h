#pragma once

// own
#include "Recording.h"

// std
#include <cstdint>

namespace tonarika {

// SDL's capture of the default input device, where no sound server runs (ALSA), or where
// SDL is told to read elsewhere (its disk driver reads SDL_DISKAUDIOFILEIN).
class SdlRecording : public Recording {
public:
    SdlRecording() = default;
    ~SdlRecording() override;
    SdlRecording(const SdlRecording&) = delete;
    SdlRecording& operator=(const SdlRecording&) = delete;

    // Opens the default input; false where there is none.
    bool open(unsigned rate, unsigned hop);
    bool read(std::vector<float>& samples) override;
    std::string error() const override { return m_error; }

private:
    bool m_started = false;
    std::uint32_t m_device = 0;
    std::string m_error;
};

}  // namespace tonarika
