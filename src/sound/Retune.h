#pragma once

// own
#include "SoundOutput.h"

// std
#include <memory>

namespace tonarika {

// A note recorded at A4 = 440 Hz, at the pitch of another A4: resampled by libsamplerate
// to 440 / a4 of its length, so that at the same rate every partial sounds a4 / 440 as
// high. The same samples where a4 is 440.
std::shared_ptr<const Samples> retuned(std::shared_ptr<const Samples> samples, int a4);

}  // namespace tonarika
