#include "SdlRecording.h"

// SDL
#include <SDL.h>

namespace tonarika {

namespace {

// How long one read may wait for the device, in steps of a millisecond or two, so that the
// caller looks at stop() and the time allowed between reads.
constexpr int kWaitMs = 20;
constexpr int kStepMs = 2;

}  // namespace

SdlRecording::~SdlRecording()
{
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    if (m_started)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // SDL keeps an error text for each thread that set one, and frees it only for threads
    // of its own: the microphone's frees it now.
    SDL_TLSCleanup();
}

bool SdlRecording::open(unsigned rate, unsigned hop)
{
    // The program handles SIGINT and SIGTERM itself; SDL would turn them into events that
    // nothing here reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        m_error = SDL_GetError();
        return false;
    }
    m_started = true;
    SDL_AudioSpec wanted{};
    wanted.freq = int(rate);
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 1;
    wanted.samples = std::uint16_t(hop);
    // No callback: what is heard is queued, and read() takes it. SDL converts to what was
    // asked for, whatever the device's own format.
    m_device = SDL_OpenAudioDevice(nullptr, 1, &wanted, nullptr, 0);
    if (m_device == 0) {
        m_error = SDL_GetError();
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

bool SdlRecording::read(std::vector<float>& samples)
{
    for (int waited = 0; SDL_GetQueuedAudioSize(m_device) == 0 && waited < kWaitMs; waited += kStepMs) {
        if (SDL_GetAudioDeviceStatus(m_device) != SDL_AUDIO_PLAYING)
            break;
        SDL_Delay(kStepMs);
    }
    // A device unplugged stops; SDL says so, and nothing more comes from it.
    if (SDL_GetAudioDeviceStatus(m_device) != SDL_AUDIO_PLAYING) {
        m_error = "the input device stopped";
        return false;
    }
    const std::size_t queued = SDL_GetQueuedAudioSize(m_device) / sizeof(float);
    const std::size_t at = samples.size();
    samples.resize(at + queued);
    const std::uint32_t got = SDL_DequeueAudio(m_device, samples.data() + at, std::uint32_t(queued * sizeof(float)));
    samples.resize(at + got / sizeof(float));
    return true;
}

}  // namespace tonarika
