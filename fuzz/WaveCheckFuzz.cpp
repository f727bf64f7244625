// Fuzzes the check a note file passes before SDL decodes it, against SDL's own decoder:
// whatever the check lets through must decode to no more sound than the check allows.

// own
#include "NoteFile.h"

// SDL
#include <SDL.h>

// std
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr double kMaxSeconds = 30.0;
    if (!tonarika::waveFault(std::span(data, size), kMaxSeconds).empty())
        return 0;
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(data, int(size));
    if (!SDL_LoadWAV_RW(source, 1, &spec, &samples, &length))
        return 0;  // refused by SDL: nothing decoded, nothing to bound
    const double frameBytes = double(SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels);
    const double seconds = length / frameBytes / spec.freq;
    SDL_FreeWAV(samples);
    if (seconds > kMaxSeconds) {
        std::fprintf(stderr, "the check let through %.1f s of sound\n", seconds);
        std::abort();
    }
    return 0;
}
