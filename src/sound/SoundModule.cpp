// The note player as a module of its own, which the program loads once its window is up:
// SDL, SDL_mixer and the many libraries SDL_mixer brings (some fifty) are then no part of
// the program's start.

// own
#include "SdlPlayer.h"
#include "SoundModule.h"

extern "C" {

__attribute__((visibility("default"))) tonarika::Player* tonarikaCreatePlayer(
    const std::vector<std::filesystem::path>& folders, const std::vector<std::string>& notes)
{
    auto* player = new tonarika::SdlPlayer(folders, notes);
    player->start();
    return player;
}

__attribute__((visibility("default"))) void tonarikaDestroyPlayer(tonarika::Player* player)
{
    delete player;
}

}  // extern "C"
