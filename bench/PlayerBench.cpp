// What a note costs the window thread, and how long until it reaches the device's period.
// Run with SDL_AUDIODRIVER=dummy for figures that do not depend on a sound server.

// own
#include "BenchMain.h"
#include "SdlPlayer.h"
#include "audio/Wav.h"

// system
#include <unistd.h>

// std
#include <benchmark/benchmark.h>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <span>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const std::vector<std::string> kNotes{"wav/Do.wav", "wav/Re.wav", "wav/Mi.wav", "wav/Fa.wav"};

// One player at a time: SDL's audio is the process's, and a second player's end would
// take it from under the first.
std::unique_ptr<tonarika::SdlPlayer> makePlayer()
{
    return std::make_unique<tonarika::SdlPlayer>(std::vector<std::filesystem::path>{TONARIKA_SOURCE_DIR}, kNotes);
}

// Whether the play's note sounded: a play still waiting for its note is waited for, as
// long as its load takes, however busy the machine is.
bool sounded(const tonarika::SdlPlayer& player, tonarika::Player::Ticket ticket)
{
    using State = tonarika::Playback::State;
    const auto giveUp = Clock::now() + std::chrono::seconds(60);
    while (player.playback(ticket).state == State::Waiting && Clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return player.playback(ticket).state == State::Sounding;
}

// Cost on the calling thread of playing a note that is already in memory.
void soundLoadedNote(benchmark::State& state)
{
    const auto player = makePlayer();
    player->waitUntilLoaded();
    tonarika::Player::Ticket ticket = player->play("wav/Do.wav");
    for (auto _ : state)
        ticket = player->play("wav/Do.wav");
    if (!sounded(*player, ticket))
        state.SkipWithError("no note sounded");
}
BENCHMARK(soundLoadedNote);

// Cost on the calling thread of the first question of a game: the player has just
// been made and its notes are still loading in the background, as when the player
// clicks Listen the moment the window appears.
void soundFirstNoteWhileLoading(benchmark::State& state)
{
    bool allSounded = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto fresh = makePlayer();
        fresh->start();
        state.ResumeTiming();
        const auto ticket = fresh->play("wav/Fa.wav");
        state.PauseTiming();
        allSounded = sounded(*fresh, ticket) && allSounded;
        fresh.reset();
        state.ResumeTiming();
    }
    if (!allSounded)
        state.SkipWithError("a note asked while loading never sounded");
}
BENCHMARK(soundFirstNoteWhileLoading)->Unit(benchmark::kMicrosecond)->Iterations(50);

// The first play of a note once the background load is done.
void soundFirstNoteOnceLoaded(benchmark::State& state)
{
    bool allSounded = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto fresh = makePlayer();
        fresh->waitUntilLoaded();
        state.ResumeTiming();
        const auto ticket = fresh->play("wav/Fa.wav");
        state.PauseTiming();
        allSounded = sounded(*fresh, ticket) && allSounded;
        fresh.reset();
        state.ResumeTiming();
    }
    if (!allSounded)
        state.SkipWithError("a loaded note never sounded");
}
BENCHMARK(soundFirstNoteOnceLoaded)->Unit(benchmark::kMicrosecond)->Iterations(50);

std::atomic<bool> armed{false};
std::atomic<Clock::rep> heardAt{0};
std::atomic<int> silentBuffers{0};

// Runs on the audio thread with each period of the mix, just before it goes to the device.
void tap(std::span<const std::int16_t> period)
{
    bool sound = false;
    for (std::size_t i = 0; i < period.size() && !sound; ++i)
        sound = period[i] != 0;
    if (!sound) {
        silentBuffers.fetch_add(1);
        return;
    }
    if (armed.exchange(false))
        heardAt.store(Clock::now().time_since_epoch().count());
}

// Delay from the call until the note's first samples go to the device. The note is a short
// tone of the benchmark's own, so that each one has died away before the next.
void soundToDevice(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() / ("tonarika-bench-" + std::to_string(::getpid()));
    tonarika::audio::Wave tone{44100, std::vector<float>(44100 / 50)};
    for (std::size_t i = 0; i < tone.samples.size(); ++i)
        tone.samples[i] = float(0.5 * std::sin(2 * std::numbers::pi * 440.0 * double(i) / 44100));
    std::filesystem::create_directories(folder / "wav");
    if (!tonarika::audio::writeWav(folder / "wav/Re.wav", tone))
        return state.SkipWithError("the tone could not be written");
    const auto player = std::make_unique<tonarika::SdlPlayer>(std::vector<std::filesystem::path>{folder},
                                                              std::vector<std::string>{"wav/Re.wav"});
    auto& p = *player;
    p.waitUntilLoaded();
    if (!p.isOpen()) {
        state.SkipWithError("no audio device");
        return;
    }
    p.setTap(tap);
    for (auto _ : state) {
        // The note before has been played out: two silent periods in a row.
        const int before = silentBuffers.load();
        while (silentBuffers.load() < before + 2)
            std::this_thread::yield();
        heardAt.store(0);
        armed.store(true);
        const auto start = Clock::now();
        p.play("wav/Re.wav");
        while (heardAt.load() == 0) {
            // Far longer than any note takes: only a note that never comes gives up here.
            if (Clock::now() - start > std::chrono::seconds(60)) {
                p.setTap(nullptr);
                return state.SkipWithError("the note never reached the device");
            }
            std::this_thread::yield();
        }
        const Clock::duration delay(heardAt.load() - start.time_since_epoch().count());
        state.SetIterationTime(std::chrono::duration<double>(delay).count());
    }
    p.setTap(nullptr);
    std::filesystem::remove_all(folder);
    state.counters["buffer_frames"] = p.bufferFrames();
}
BENCHMARK(soundToDevice)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace

int main(int argc, char** argv)
{
    return tonarika::bench::runBenchmarks(argc, argv);
}
