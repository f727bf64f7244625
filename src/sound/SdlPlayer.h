#pragma once

// own
#include "Player.h"

// std
#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct Mix_Chunk;

namespace tonarika {

// Plays notes through SDL_mixer. The device is opened once, at its own rate and with
// a period of 128 frames, so that a note reaches the sound server within a few
// milliseconds. Notes are read and decoded on a thread of
// their own and stay in memory, in the device's format and no larger than their samples,
// so play() never waits on the disk: a note asked before its load has finished jumps to
// the front of the queue and starts as soon as it is loaded. A note that cannot be
// loaded sounds the alert tone, and is not tried again. A new note fades the sounding
// one out over a few milliseconds instead of cutting it with a click. Whatever fails
// leaves a line on stderr (category tonarika.sound) with its cause. SDL's environment
// (SDL_AUDIODRIVER and the rest) stays in force; SDL installs no signal handlers.
class SdlPlayer : public Player {
public:
    // `notes` are the note files it plays ("wav/Do.wav", ...). They all come from one
    // folder: the first of `folders` that holds any of them (an empty folder is the
    // current directory), so that a pitch never comes from another set than the rest.
    // Nothing is opened or read before start() or the first play().
    explicit SdlPlayer(std::vector<std::filesystem::path> folders, std::vector<std::string> notes = {});
    ~SdlPlayer() override;
    SdlPlayer(const SdlPlayer&) = delete;
    SdlPlayer& operator=(const SdlPlayer&) = delete;

    // Opens the sound device and starts loading every note in the background.
    void start();
    Ticket play(std::string_view wavFile) override;
    Playback playback(Ticket ticket) const override;

    bool isOpen() const { return m_open; }
    int bufferFrames() const { return m_bufferFrames; }
    // Blocks until every note asked for so far is loaded or known to be bad.
    void waitUntilLoaded();

    // Larger or longer note files are refused without being decoded.
    static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;
    static constexpr double kMaxSeconds = 30.0;

private:
    // Per-channel fade state. It is written by whoever starts a note on the channel,
    // under m_mutex, between halting the channel and registering the fade effect on
    // it, while no effect is attached; from then on only the audio thread's effect
    // reads and writes it, and starting a later note merely sets `fading`.
    struct Voice {
        std::atomic<bool> fading{false};
        int fadeFrames = 1;
        int framesLeft = 0;
    };
    struct Note {
        enum class State { Loading, Ready, Bad } state = State::Loading;
        Mix_Chunk* chunk = nullptr;
    };

    // The fade effect: runs on the audio thread on one channel's samples before mixing.
    static void fadeEffect(int channel, void* stream, int length, void* voice);
    // Runs on the audio thread after every mix; the first time, it raises its priority.
    static void raisePriority(int channel, void* stream, int length, void* unused);

    bool openDevice();
    void loadInBackground();
    std::filesystem::path chooseFolder() const;
    Mix_Chunk* load(const std::string& wavFile) const;
    Mix_Chunk* decode(const std::vector<std::uint8_t>& bytes, std::string& fault) const;
    // Asks for a note's load unless it was asked before. Needs m_mutex.
    Note& noteLocked(const std::string& wavFile);
    // Starts a chunk on the next channel, fading out all others. Needs m_mutex.
    bool startLocked(Mix_Chunk* chunk);
    // Starts a play's note, or the alert tone in its place, and notes when. Needs m_mutex.
    void startPlayLocked(Ticket ticket, const std::string& wavFile, Mix_Chunk* chunk);

    static constexpr int kChannels = 4;

    std::vector<std::filesystem::path> m_folders;
    std::vector<std::string> m_notes;
    std::filesystem::path m_folder;  // where the notes come from; set by the loader
    bool m_started = false;
    bool m_sdlStarted = false;
    bool m_open = false;
    int m_bufferFrames = 0;
    // The device's format, which every note is converted to once, as it is loaded.
    int m_rate = 0;
    std::uint16_t m_format = 0;
    int m_channelsOut = 0;
    std::vector<short> m_alertSamples;
    Mix_Chunk* m_alert = nullptr;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    Ticket m_lastTicket = 0;
    std::unordered_map<Ticket, Playback> m_playbacks;  // the last few plays
    int m_nextChannel = 0;
    std::array<Voice, kChannels> m_voices;
    std::unordered_map<std::string, Note> m_loaded;
    std::deque<std::string> m_queue;        // notes still to load, the one asked first
    std::optional<std::string> m_wanted;    // the note asked last, if it is still loading
    Ticket m_wantedTicket = 0;
    bool m_loading = false;                 // a load is under way outside the lock
    bool m_stopping = false;
    std::thread m_loader;
};

}  // namespace tonarika
