// The note player as a module of its own, which the program loads once its window is up:
// libpulse, SDL, libFLAC and the libraries they bring (some thirty beyond the program's)
// are then no part of the program's start. Loading them takes about 8 ms, a fifth of the
// time a bare Qt window takes to show.

// own
#include "NotePlayer.h"
#include "PulseOutput.h"
#include "SdlOutput.h"
#include "SoundModule.h"

// std
#include <cstdlib>
#include <string_view>

namespace {

// The desktop's sound server (PulseAudio, or PipeWire's PulseAudio server), unless SDL
// is told to play elsewhere (its disk or dummy driver, ALSA) or TONARIKA_SOUND_OUTPUT
// names one ("pulse" or "sdl").
std::unique_ptr<tonarika::SoundOutput> openOutput()
{
    const char* chosen = std::getenv("TONARIKA_SOUND_OUTPUT");
    const std::string_view output = chosen ? chosen : "";
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const std::string_view sdl = driver ? driver : "";
    const bool server = output.empty() ? sdl.empty() || sdl == "pulseaudio" || sdl == "pipewire" : output == "pulse";
    if (server) {
        if (auto pulse = tonarika::PulseOutput::open())
            return pulse;
    }
    return tonarika::SdlOutput::open();
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) tonarika::Player* tonarikaCreatePlayer(
    const std::vector<std::filesystem::path>& folders, const std::vector<std::string>& notes)
{
    auto* player = new tonarika::NotePlayer(folders, notes, &openOutput);
    player->start();
    return player;
}

__attribute__((visibility("default"))) void tonarikaDestroyPlayer(tonarika::Player* player)
{
    delete player;
}

}  // extern "C"
