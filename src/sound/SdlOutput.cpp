#include "SdlOutput.h"

// own
#include "RealtimePriority.h"

// Qt
#include <QLoggingCategory>

// SDL
#include <SDL.h>

// std
#include <array>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcSound, "tonarika.sound", QtWarningMsg)

// The rate when the device does not say its own: the notes' own.
constexpr int kDefaultRate = 44100;
// A period of 128 frames is under 3 ms; longer ones only where the device refuses it.
constexpr std::array<int, 5> kBufferFrames{128, 256, 512, 1024, 2048};

// The rate the sound device (the sound server's sink) runs at, so that nothing between
// here and the speaker resamples, or buffers to resample.
int deviceRate()
{
    SDL_AudioSpec spec{};
    if (SDL_GetDefaultAudioInfo(nullptr, &spec, 0) == 0 && spec.freq >= 8000 && spec.freq <= 192000)
        return spec.freq;
    return kDefaultRate;
}

}  // namespace

std::unique_ptr<SdlOutput> SdlOutput::open()
{
    // SDL would turn SIGINT and SIGTERM into a quit event that nothing here reads; the
    // program handles them itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL_HINT_THREAD_FORCE_REALTIME_TIME_CRITICAL stays off: with it, SDL sets
    // RLIMIT_RTTIME to whatever RealtimeKit or the desktop portal grants, 0 where neither
    // grants anything, and the first real-time period then gets the process killed.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        qCWarning(lcSound, "no sound: SDL's audio could not start: %s", SDL_GetError());
        SDL_TLSCleanup();
        return nullptr;
    }
    // The notes are mono: so is the device, which keeps each note in memory once, not
    // twice; the sound server (or SDL) plays it on both speakers alike. A fixed sample
    // format lets the mixer work on known samples; the rate is the device's.
    std::unique_ptr<SdlOutput> output(new SdlOutput(deviceRate()));
    output->m_sdlStarted = true;
    for (const int frames : kBufferFrames) {
        SDL_AudioSpec wanted{};
        wanted.freq = output->m_mixer.rate();
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 1;
        wanted.samples = std::uint16_t(frames);
        wanted.callback = &SdlOutput::play;
        wanted.userdata = output.get();
        SDL_AudioSpec got{};
        output->m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
        if (output->m_device != 0) {
            output->m_bufferFrames = got.samples;
            SDL_PauseAudioDevice(output->m_device, 0);
            // SDL keeps an error text for each thread that set one, and frees it only for
            // threads of its own: this one, the player's, frees it now.
            SDL_TLSCleanup();
            return output;
        }
    }
    qCWarning(lcSound, "no sound: no sound device could be opened: %s", SDL_GetError());
    SDL_TLSCleanup();
    return nullptr;
}

SdlOutput::~SdlOutput()
{
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    if (m_sdlStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlOutput::play(void* data, std::uint8_t* stream, int bytes)
{
    auto& self = *static_cast<SdlOutput*>(data);
    // With a period of under 3 ms, a busy machine can make the audio thread late by a
    // period, and the sound breaks. On its first period it asks for a real-time priority,
    // the lowest there is, where the system allows it and its real-time budget is safe;
    // otherwise it runs as before.
    if (!self.m_priorityAsked) {
        self.m_priorityAsked = true;
        if (const auto why = raiseCallingThreadToRealtime())
            qCInfo(lcSound, "the audio thread keeps its ordinary priority: %s", why->c_str());
    }
    const auto frames = std::size_t(bytes) / sizeof(std::int16_t);
    auto* samples = reinterpret_cast<std::int16_t*>(stream);
    self.m_mixer.render(self.m_frame, samples, frames);
    self.m_frame += std::int64_t(frames);
    if (self.m_tap)
        self.m_tap(std::span<const std::int16_t>(samples, frames));
}

void SdlOutput::setTap(Tap tap)
{
    SDL_LockAudioDevice(m_device);
    m_tap = std::move(tap);
    SDL_UnlockAudioDevice(m_device);
}

std::optional<std::chrono::steady_clock::time_point> SdlOutput::start(std::shared_ptr<const Samples> samples)
{
    // The device's next period takes it; what lies beyond, SDL does not say.
    SDL_LockAudioDevice(m_device);
    m_mixer.start(std::move(samples), m_frame);
    SDL_UnlockAudioDevice(m_device);
    return std::chrono::steady_clock::now()
           + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
               std::chrono::duration<double>(double(m_bufferFrames) / m_mixer.rate()));
}

}  // namespace tonarika
