#pragma once

// own
#include "Player.h"

// std
#include <filesystem>
#include <string>
#include <vector>

namespace tonarika {

// The note player of the sound module, loaded when the window is up (start()), or at the
// first play() should that come first. Until then nothing of SDL is in the process, so
// the window comes sooner. Where the module cannot be loaded, play() fails as it does
// where no sound device opens, and the cause is told on stderr.
class ModulePlayer : public Player {
public:
    // The module is the first of `modules` that exists.
    ModulePlayer(std::vector<std::filesystem::path> modules, std::vector<std::filesystem::path> folders,
                 std::vector<std::string> notes);
    ~ModulePlayer() override;
    ModulePlayer(const ModulePlayer&) = delete;
    ModulePlayer& operator=(const ModulePlayer&) = delete;

    void start();
    Ticket play(std::string_view wavFile) override;
    Playback playback(Ticket ticket) const override;

private:
    std::vector<std::filesystem::path> m_modules;
    std::vector<std::filesystem::path> m_folders;
    std::vector<std::string> m_notes;
    bool m_started = false;
    void* m_library = nullptr;
    Player* m_player = nullptr;
    void (*m_destroy)(Player*) = nullptr;
};

}  // namespace tonarika
