// What a note costs the window thread, and how long until it reaches the mixer's output.
// Run with SDL_AUDIODRIVER=dummy for figures that do not depend on a sound server.

// own
#include "BenchMain.h"
#include "SdlPlayer.h"

// SDL
#include <SDL_mixer.h>

// std
#include <benchmark/benchmark.h>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const std::vector<std::string> kNotes{"wav/Do.wav", "wav/Re.wav", "wav/Mi.wav", "wav/Fa.wav"};

tonarika::SdlPlayer& player()
{
    static tonarika::SdlPlayer instance({TONARIKA_SOURCE_DIR}, kNotes);
    return instance;
}

// Whether a note is sounding within a second: what every case checks it did.
bool aNoteSounds()
{
    const auto deadline = Clock::now() + std::chrono::seconds(1);
    while (Mix_Playing(-1) == 0) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Cost on the calling thread of playing a note that is already in memory.
void soundLoadedNote(benchmark::State& state)
{
    auto& p = player();
    p.waitUntilLoaded();
    p.play("wav/Do.wav");
    for (auto _ : state)
        p.play("wav/Do.wav");
    if (!aNoteSounds())
        state.SkipWithError("no note sounded");
}
BENCHMARK(soundLoadedNote);

// Cost on the calling thread of the first question of a game: the player has just
// been made and its notes are still loading in the background, as when the player
// clicks Listen the moment the window appears.
void soundFirstNoteWhileLoading(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto fresh = std::make_unique<tonarika::SdlPlayer>(std::vector<std::filesystem::path>{TONARIKA_SOURCE_DIR}, kNotes);
        fresh->start();
        state.ResumeTiming();
        fresh->play("wav/Fa.wav");
        state.PauseTiming();
        const bool sounded = aNoteSounds();
        fresh.reset();
        if (!sounded)
            return state.SkipWithError("the note asked while loading never sounded");
        state.ResumeTiming();
    }
}
BENCHMARK(soundFirstNoteWhileLoading)->Unit(benchmark::kMicrosecond)->Iterations(50);

// The first play of a note once the background load is done.
void soundFirstNoteOnceLoaded(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto fresh = std::make_unique<tonarika::SdlPlayer>(std::vector<std::filesystem::path>{TONARIKA_SOURCE_DIR}, kNotes);
        fresh->waitUntilLoaded();
        state.ResumeTiming();
        fresh->play("wav/Fa.wav");
        state.PauseTiming();
        const bool sounded = aNoteSounds();
        fresh.reset();
        if (!sounded)
            return state.SkipWithError("the loaded note never sounded");
        state.ResumeTiming();
    }
}
BENCHMARK(soundFirstNoteOnceLoaded)->Unit(benchmark::kMicrosecond)->Iterations(50);

std::atomic<bool> armed{false};
std::atomic<Clock::rep> heardAt{0};
std::atomic<int> silentBuffers{0};

// Runs on the audio thread with the final mix, just before it goes to the device.
void postMix(void*, Uint8* stream, int length)
{
    const auto* samples = reinterpret_cast<const Sint16*>(stream);
    bool sound = false;
    for (int i = 0; i < length / 2 && !sound; ++i)
        sound = samples[i] != 0;
    if (!sound) {
        silentBuffers.fetch_add(1);
        return;
    }
    if (armed.exchange(false))
        heardAt.store(Clock::now().time_since_epoch().count());
}

// Delay from the call until the note's first samples pass the mixer.
void soundToMixer(benchmark::State& state)
{
    auto& p = player();
    p.waitUntilLoaded();
    if (!p.isOpen()) {
        state.SkipWithError("no audio device");
        return;
    }
    Mix_SetPostMix(postMix, nullptr);
    for (auto _ : state) {
        Mix_HaltChannel(-1);
        const int before = silentBuffers.load();
        while (silentBuffers.load() < before + 2)
            std::this_thread::yield();
        heardAt.store(0);
        armed.store(true);
        const auto start = Clock::now();
        p.play("wav/Re.wav");
        while (heardAt.load() == 0) {
            if (Clock::now() - start > std::chrono::seconds(1)) {
                Mix_SetPostMix(nullptr, nullptr);
                return state.SkipWithError("the note never reached the mixer's output");
            }
            std::this_thread::yield();
        }
        const Clock::duration delay(heardAt.load() - start.time_since_epoch().count());
        state.SetIterationTime(std::chrono::duration<double>(delay).count());
    }
    Mix_SetPostMix(nullptr, nullptr);
    state.counters["buffer_frames"] = p.bufferFrames();
}
BENCHMARK(soundToMixer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace

int main(int argc, char** argv)
{
    return tonarika::bench::runBenchmarks(argc, argv);
}
