#pragma once

// own
#include "Player.h"

// std
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tonarika {

// The note player of the sound module, loaded when the window is up (start()), or at the
// first play() should that come first. Until then nothing of SDL is in the process, so
// the window comes sooner. Where the module cannot be loaded (a game copied without it),
// every play sounds the desktop's alert in place of its note, as a note that cannot be
// loaded sounds the player's alert tone, and the cause is told once on stderr.
class ModulePlayer : public Player {
public:
    // The module is the first of `modules` that exists.
    // `alert` sounds the desktop's alert.
    ModulePlayer(std::vector<std::filesystem::path> modules, std::vector<std::filesystem::path> folders,
                 std::vector<std::string> notes, std::function<void()> alert);
    ~ModulePlayer() override;
    ModulePlayer(const ModulePlayer&) = delete;
    ModulePlayer& operator=(const ModulePlayer&) = delete;

    void start();
    using Player::play;
    Ticket play(const SoundRequest& request) override;
    Playback playback(Ticket ticket) const override;
    void prepare(const SoundRequest& request) override;

private:
    std::vector<std::filesystem::path> m_modules;
    std::vector<std::filesystem::path> m_folders;
    std::vector<std::string> m_notes;
    std::function<void()> m_alert;
    bool m_started = false;
    std::optional<SoundRequest> m_prepared;  // the last sound prepared before start()
    // Without the module: the plays, each the alert.
    Ticket m_lastAlert = 0;
    std::map<Ticket, std::chrono::steady_clock::time_point> m_alerts;
    void* m_library = nullptr;
    Player* m_player = nullptr;
    void (*m_destroy)(Player*) = nullptr;
};

}  // namespace tonarika
