#pragma once

// own
#include "Player.h"

// std
#include <array>
#include <atomic>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

struct Mix_Chunk;

namespace tonarika {

// Plays notes through SDL_mixer. The device is opened once, with a small buffer so a
// note starts within a few milliseconds; decoded notes stay in memory; a new note
// fades the sounding one out over a few milliseconds instead of cutting it with a click.
// SDL's environment (SDL_AUDIODRIVER and the rest) stays in force.
class SdlPlayer : public Player {
public:
    // Files are looked up under the current directory first, then under fallbackFolder.
    explicit SdlPlayer(std::filesystem::path fallbackFolder);
    ~SdlPlayer() override;
    SdlPlayer(const SdlPlayer&) = delete;
    SdlPlayer& operator=(const SdlPlayer&) = delete;

    void play(std::string_view wavFile) override;

    bool isOpen() const { return m_open; }
    int bufferFrames() const { return m_bufferFrames; }

private:
    // Per-channel fade state. The window thread writes it only in play(), between
    // halting the channel and registering the fade effect on it, while no effect is
    // attached; from then on only the audio thread's effect reads and writes it, and
    // the window thread merely sets `fading` to start the fade-out.
    struct Voice {
        std::atomic<bool> fading{false};
        int framesLeft = 0;
    };

    // The fade effect: runs on the audio thread on one channel's samples before mixing.
    static void fadeEffect(int channel, void* stream, int length, void* voice);

    bool openDevice();
    Mix_Chunk* chunkFor(std::string_view wavFile);
    Mix_Chunk* alertTone();

    static constexpr int kChannels = 4;

    std::filesystem::path m_fallbackFolder;
    bool m_sdlStarted = false;
    bool m_open = false;
    int m_bufferFrames = 0;
    int m_nextChannel = 0;
    std::array<Voice, kChannels> m_voices;
    std::unordered_map<std::string, Mix_Chunk*> m_chunks;
    std::vector<short> m_alertSamples;
    Mix_Chunk* m_alert = nullptr;
};

}  // namespace tonarika
