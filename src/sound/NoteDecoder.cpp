#include "NoteDecoder.h"

// own
#include "FlacFile.h"

// SDL
#include <SDL.h>

// std
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace tonarika {

namespace {

// Converts decoded samples to one channel of signed 16-bit samples at `rate`, from the
// first audible one on.
std::shared_ptr<const Samples> convert(SDL_AudioFormat format, Uint8 channels, int freq, const Uint8* samples,
                                       Uint32 length, int rate, std::string& fault)
{
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, format, channels, freq, AUDIO_S16SYS, 1, rate) < 0) {
        fault = std::string("SDL cannot convert it: ") + SDL_GetError();
        return nullptr;
    }
    auto note = std::make_shared<Samples>();
    if (!cvt.needed) {
        note->resize(length / sizeof(std::int16_t));
        SDL_memcpy(note->data(), samples, note->size() * sizeof(std::int16_t));
    } else {
        // The conversion works in a buffer several times the samples; only the samples stay.
        cvt.len = int(length);
        std::vector<Uint8> work(std::size_t(length) * std::size_t(cvt.len_mult));
        SDL_memcpy(work.data(), samples, length);
        cvt.buf = work.data();
        if (SDL_ConvertAudio(&cvt) < 0) {
            fault = std::string("SDL cannot convert it: ") + SDL_GetError();
            return nullptr;
        }
        note->resize(std::size_t(cvt.len_cvt) / sizeof(std::int16_t));
        SDL_memcpy(note->data(), work.data(), note->size() * sizeof(std::int16_t));
    }
    note->erase(note->begin(), note->begin() + std::ptrdiff_t(leadIn(*note)));
    return note;
}

}  // namespace

std::shared_ptr<const Samples> decodeNote(const std::vector<std::uint8_t>& bytes, int rate, double maxSeconds,
                                          std::string& fault)
{
    if (isFlac(bytes)) {
        const auto sound = decodeFlac(bytes, maxSeconds, fault);
        if (!sound)
            return nullptr;
        return convert(AUDIO_S16SYS, 1, sound->rate, reinterpret_cast<const Uint8*>(sound->samples.data()),
                       Uint32(sound->samples.size() * sizeof(std::int16_t)), rate, fault);
    }
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!source || !SDL_LoadWAV_RW(source, 1, &spec, &samples, &length)) {
        fault = std::string("SDL cannot decode it: ") + SDL_GetError();
        return nullptr;
    }
    // What SDL decoded is what counts: however the file's header read, its sound must
    // last no longer than the bound, or it is never converted, let alone kept.
    const double frameBytes = double(SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels);
    const double seconds = frameBytes > 0 && spec.freq > 0 ? length / frameBytes / spec.freq : 0.0;
    if (length == 0 || seconds > maxSeconds) {
        SDL_FreeWAV(samples);
        fault = length == 0 ? "SDL decoded no sound from it" : "SDL decoded more than 30 s from it";
        return nullptr;
    }
    auto note = convert(spec.format, spec.channels, spec.freq, samples, length, rate, fault);
    SDL_FreeWAV(samples);
    return note;
}

void endDecodingOnThisThread()
{
    SDL_TLSCleanup();
}

std::size_t leadIn(const Samples& samples)
{
    constexpr int kAudible = 33;  // -60 dBFS of a 16-bit sample
    const auto first = std::find_if(samples.begin(), samples.end(), [](std::int16_t s) { return std::abs(s) >= kAudible; });
    // A note that never rises so high is left whole: it is what the file holds.
    return first == samples.end() ? 0 : std::size_t(first - samples.begin());
}

std::shared_ptr<const Samples> alertTone(int rate)
{
    constexpr double kFrequency = 1000.0;
    const int kPip = rate * 60 / 1000;
    const int kGap = rate * 40 / 1000;
    const int kRamp = rate * 3 / 1000;
    auto samples = std::make_shared<Samples>();
    samples->reserve(static_cast<size_t>(2 * kPip + kGap));
    for (int i = 0; i < 2 * kPip + kGap; ++i) {
        const int inPip = i < kPip ? i : i - kPip - kGap;
        double value = 0.0;
        if (inPip >= 0 && inPip < kPip) {
            const double ramp = std::min({1.0, double(inPip) / kRamp, double(kPip - inPip) / kRamp});
            value = 0.4 * ramp * std::sin(2.0 * std::numbers::pi * kFrequency * i / rate);
        }
        samples->push_back(static_cast<std::int16_t>(std::lround(value * 32767.0)));
    }
    return samples;
}

}  // namespace tonarika
