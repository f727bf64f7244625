// The real player, through SDL's disk driver: what it writes is what a speaker would get.

// own
#include "MessageCapture.h"
#include "RealtimePriority.h"
#include "SdlPlayer.h"
#include "ToneSynth.h"
#include "audio/NotePitch.h"
#include "audio/Pitch.h"
#include "audio/Flac.h"
#include "audio/Wav.h"

// system
#include <sys/resource.h>
#include <sys/stat.h>

// std
#include <gtest/gtest.h>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <numbers>
#include <thread>

namespace tonarika {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kRate = 44100;
constexpr double kLowHz = 400.0;
constexpr double kHighHz = 800.0;

void writeSine(const fs::path& path, double hz, double amplitude, int seconds = 2)
{
    audio::Wave wave{kRate, std::vector<float>(size_t(seconds) * kRate)};
    for (size_t i = 0; i < wave.samples.size(); ++i)
        wave.samples[i] = float(amplitude * std::sin(2 * std::numbers::pi * hz * double(i) / kRate));
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(audio::writeWav(path, wave));
}

// Amplitude of one frequency in the 20 ms of the left channel starting at `start`.
double amplitudeAt(const std::vector<float>& left, size_t start, double hz)
{
    constexpr size_t kWindow = kRate / 50;
    if (start + kWindow > left.size())
        return 0.0;
    return 4.0 * audio::magnitudeAt(std::span(left).subspan(start, kWindow), kRate, hz) / kWindow;
}

// The first window start (10 ms steps) from `from` on where `hz` sounds.
size_t onset(const std::vector<float>& left, double hz, size_t from = 0)
{
    for (size_t start = from; start + kRate / 50 <= left.size(); start += kRate / 100) {
        if (amplitudeAt(left, start, hz) > 0.1)
            return start;
    }
    return left.size();
}

long peakMemoryKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Holds up the loading of one note until released: a test's way of having a note that is
// still loading, whatever the machine's speed. Release it before its player ends.
class HeldNote {
public:
    explicit HeldNote(std::string name)
        : m_name(std::move(name))
    {
    }
    NotePlayer::ReadNote reader()
    {
        return [this](const fs::path& path, std::size_t maxBytes, double maxSeconds) {
            if (path.filename() == m_name) {
                std::unique_lock lock(m_mutex);
                m_released.wait(lock, [this] { return m_free; });
            }
            return readNoteFile(path, maxBytes, maxSeconds);
        };
    }
    void release()
    {
        {
            std::lock_guard lock(m_mutex);
            m_free = true;
        }
        m_released.notify_all();
    }

private:
    std::string m_name;
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_free = false;
};

class SdlPlayerTest : public ::testing::Test {
protected:
    fs::path folder;
    fs::path output;

    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("tonarika-player-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        output = folder / "out.raw";
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    }
    void TearDown() override
    {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        fs::remove_all(folder);
    }

    // How far the device's recording has come, in bytes.
    std::uintmax_t recordedBytes() const
    {
        std::error_code error;
        const auto bytes = fs::file_size(output, error);
        return error ? 0 : bytes;
    }
    // Waits until the device has taken `seconds` more of sound than it had at `from`: what
    // was played meanwhile has reached the recording, however busy the machine is.
    void waitForRecording(std::uintmax_t from, double seconds) const
    {
        const auto wanted = from + std::uintmax_t(seconds * kRate) * sizeof(std::int16_t);
        for (int i = 0; i < 6000 && recordedBytes() < wanted; ++i)
            std::this_thread::sleep_for(10ms);
    }
    // Waits until a play is no longer waiting for its note, a minute at most.
    static Playback settle(const NotePlayer& player, Player::Ticket ticket)
    {
        for (int i = 0; i < 6000 && player.playback(ticket).state == Playback::State::Waiting; ++i)
            std::this_thread::sleep_for(10ms);
        return player.playback(ticket);
    }

    // What the device was given (one channel), as floats.
    std::vector<float> recorded() const
    {
        std::ifstream in(output, std::ios::binary);
        std::vector<float> left;
        std::int16_t sample = 0;
        while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
            left.push_back(sample / 32768.0f);
        return left;
    }
};

TEST_F(SdlPlayerTest, aNewNoteFadesTheSoundingOneOutWithoutAClick)
{
    writeSine(folder / "wav/Do.wav", kLowHz, 0.9);
    writeSine(folder / "wav/Mi.wav", kHighHz, 0.5);
    {
        // Neither note was asked before: each starts when its load completes.
        SdlPlayer player({folder});
        player.start();
        ASSERT_TRUE(player.isOpen());
        EXPECT_EQ(player.bufferFrames(), 128);
        ASSERT_EQ(settle(player, player.play("wav/Do.wav")).state, Playback::State::Sounding);
        waitForRecording(recordedBytes(), 0.3);
        ASSERT_EQ(settle(player, player.play("wav/Mi.wav")).state, Playback::State::Sounding);
        waitForRecording(recordedBytes(), 0.4);
    }
    const auto left = recorded();
    const size_t first = onset(left, kLowHz);
    const size_t second = onset(left, kHighHz);
    ASSERT_LT(first, left.size()) << "the first note never sounded";
    ASSERT_LT(second, left.size()) << "the second note never sounded";
    EXPECT_GT(second - first, size_t(kRate / 10));
    EXPECT_LT(second - first, size_t(kRate * 6 / 10));

    // Before the cut only the first note, after it only the second.
    EXPECT_NEAR(amplitudeAt(left, first + kRate / 20, kLowHz), 0.9, 0.05);
    EXPECT_LT(amplitudeAt(left, first + kRate / 20, kHighHz), 0.01);
    EXPECT_NEAR(amplitudeAt(left, second + kRate / 20, kHighHz), 0.5, 0.05);
    EXPECT_LT(amplitudeAt(left, second + kRate / 20, kLowHz), 0.01) << "the first note was not cut off";

    // Neither sine can change by more than 0.13 between two samples; a hard cut can.
    // Looked at from the first note's start to well after the second's (the end of the
    // recording, where the device closes, is no part of it).
    float largestStep = 0;
    for (size_t i = first + 1; i < std::min(left.size(), second + kRate / 10); ++i)
        largestStep = std::max(largestStep, std::abs(left[i] - left[i - 1]));
    EXPECT_LT(largestStep, 0.15f) << "a click where the first note stopped";
}

TEST_F(SdlPlayerTest, theCurrentFolderComesBeforeTheProgramFolder)
{
    writeSine(folder / "program/wav/Re.wav", kLowHz, 0.5);
    writeSine(folder / "current/wav/Re.wav", kHighHz, 0.5);
    const auto previous = fs::current_path();
    fs::current_path(folder / "current");
    {
        SdlPlayer player({{}, folder / "program"});
        settle(player, player.play("wav/Re.wav"));
        waitForRecording(recordedBytes(), 0.2);
    }
    fs::current_path(previous);
    const auto left = recorded();
    EXPECT_LT(onset(left, kHighHz), left.size());
    EXPECT_EQ(onset(left, kLowHz), left.size());
}

// The notes come from one folder: the first that holds any of them. A lone Do in the
// current folder does not mix with the program's set: Re, which it lacks, sounds the
// alert tone rather than another set's Re.
TEST_F(SdlPlayerTest, allNotesComeFromTheFirstFolderThatHoldsAnyOfThem)
{
    writeSine(folder / "current/wav/Do.wav", kHighHz, 0.5);
    writeSine(folder / "program/wav/Do.wav", kLowHz, 0.5);
    writeSine(folder / "program/wav/Re.wav", kLowHz, 0.5);
    const auto previous = fs::current_path();
    fs::current_path(folder / "current");
    {
        SdlPlayer player({{}, folder / "program"}, {"wav/Do.wav", "wav/Re.wav"});
        settle(player, player.play("wav/Re.wav"));
        waitForRecording(recordedBytes(), 0.2);
        settle(player, player.play("wav/Do.wav"));
        waitForRecording(recordedBytes(), 0.2);
    }
    fs::current_path(previous);
    const auto left = recorded();
    EXPECT_LT(onset(left, 1000.0), left.size()) << "Re sounds the alert tone";
    EXPECT_LT(onset(left, kHighHz), left.size()) << "Do comes from the current folder";
    EXPECT_EQ(onset(left, kLowHz), left.size()) << "nothing comes from the program's folder";
}

// A note asked while it loads, then another that is loaded already: when the first
// load ends, the first note does not start over the second.
TEST_F(SdlPlayerTest, aNoteStillLoadingNeverStartsOverOneAskedAfterIt)
{
    writeSine(folder / "wav/Mi.wav", kHighHz, 0.5);
    writeSine(folder / "wav/Fa.wav", kLowHz, 0.5);
    HeldNote fa("Fa.wav");
    {
        SdlPlayer player({folder}, {"wav/Mi.wav"}, fa.reader());
        player.waitUntilLoaded();
        const auto asked = player.play("wav/Fa.wav");
        player.play("wav/Mi.wav");
        fa.release();
        player.waitUntilLoaded();
        EXPECT_EQ(player.playback(asked).state, Playback::State::Dropped);
        waitForRecording(recordedBytes(), 0.5);
    }
    const auto left = recorded();
    EXPECT_LT(onset(left, kHighHz), left.size());
    EXPECT_EQ(onset(left, kLowHz), left.size()) << "the note asked first started after all";
}

TEST_F(SdlPlayerTest, aRepeatedNoteIsPlayedFromMemory)
{
    writeSine(folder / "wav/So.wav", kLowHz, 0.5);
    SdlPlayer player({folder}, {"wav/So.wav"});
    player.waitUntilLoaded();
    fs::remove(folder / "wav/So.wav");
    player.play("wav/So.wav");
    player.play("wav/So.wav");
    waitForRecording(recordedBytes(), 0.15);
    const auto left = recorded();
    EXPECT_LT(onset(left, kLowHz), left.size());
    EXPECT_EQ(onset(left, 1000.0), left.size()) << "the repeat went back to the disk";
}

TEST_F(SdlPlayerTest, unplayableFilesSoundTheAlertTonePromptlyWithMemoryBounded)
{
    fs::create_directories(folder / "wav");
    const auto header = [](std::uint32_t rate, std::uint16_t bits, std::uint32_t dataBytes) {
        std::string h = "RIFF....WAVEfmt ";
        const auto put = [&h](std::uint64_t value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                h += char((value >> (8 * i)) & 0xFF);
        };
        put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * bits / 8, 4), put(bits / 8, 2), put(bits, 2);
        h += "data";
        put(dataBytes, 4);
        return h;
    };
    const auto write = [](const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    };
    const std::vector<std::pair<const char*, std::function<void(const fs::path&)>>> cases{
        {"missing", [](const fs::path&) {}},
        {"a FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
        {"a link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
        {"a link to /dev/urandom", [](const fs::path& p) { fs::create_symlink("/dev/urandom", p); }},
        {"a 500 MB wave", [&](const fs::path& p) {
             write(p, header(44100, 16, 500u << 20));
             fs::resize_file(p, (500u << 20) + 44);
         }},
        {"a wave of 31 s", [&](const fs::path& p) { write(p, header(8000, 8, 31 * 8000) + std::string(31 * 8000, 'x')); }},
        {"a header with no samples", [&](const fs::path& p) { write(p, header(44100, 16, 0)); }},
        {"an empty file", [&](const fs::path& p) { write(p, ""); }},
        {"random bytes", [&](const fs::path& p) {
             std::string noise(4096, 0);
             for (size_t i = 0; i < noise.size(); ++i)
                 noise[i] = char((i * 7919 + 13) % 251);
             write(p, noise);
         }},
        // The first pair of chunks a tiny 8 kHz 8-bit note, the second 15 MB of 32-bit
        // samples at 192 kHz: what the second format reads as 20 s, the first as half an hour.
        {"two pairs of format and data", [&](const fs::path& p) {
             const std::uint32_t big = 15u << 20;
             std::string wave = header(8000, 8, 16) + std::string(16, 'x') + header(192000, 32, big).substr(12);
             wave.replace(4, 4, std::string{char(0xF0), char(0xFF), char(0xFF), char(0x00)});
             write(p, wave);
             fs::resize_file(p, wave.size() + big);
         }},
        {"the file a fuzzer found", [&](const fs::path& p) {
             const std::string hex = "5249464656000000574156454c49535407000000494e464f61626300666d742010000000010001001c01"
                                     "000080610000020010006461746110000000000053540700";
             std::string bytes;
             for (size_t i = 0; i < hex.size(); i += 2)
                 bytes += char(std::stoi(hex.substr(i, 2), nullptr, 16));
             write(p, bytes);
         }},
    };
    const long memoryBefore = peakMemoryKiB();
    for (const auto& [what, make] : cases) {
        const fs::path path = folder / "wav/Si.wav";
        fs::remove(path);
        make(path);
        fs::remove(output);
        test::MessageCapture messages;
        {
            SdlPlayer player({folder});
            Player::Ticket ticket = 0;
            EXPECT_NO_THROW(ticket = player.play("wav/Si.wav")) << what;
            EXPECT_EQ(settle(player, ticket).state, Playback::State::Alert) << what;
            waitForRecording(recordedBytes(), 0.2);
        }
        EXPECT_TRUE(messages.has("tonarika.sound", path.string() + " is refused, and sounds the alert tone instead: ")) << what;
        const auto left = recorded();
        const size_t alert = onset(left, 1000.0);
        ASSERT_LT(alert, left.size()) << what << ": no alert tone";
        for (int note = 0; note < 12; ++note)
            EXPECT_LT(amplitudeAt(left, alert + kRate / 100, audio::noteFrequency(note)), 0.02) << what;
    }
    // AddressSanitizer's shadow and quarantine need room of their own.
#ifdef __SANITIZE_ADDRESS__
    constexpr long kAllowedKiB = 256 * 1024;
#else
    constexpr long kAllowedKiB = 16 * 1024;
#endif
    EXPECT_LT(peakMemoryKiB() - memoryBefore, kAllowedKiB) << "a bad file was read into memory";
    std::printf("peak memory grew by %ld KiB\n", peakMemoryKiB() - memoryBefore);
}

// Of the sounds not given at the start, the last 24 used are kept, and the one used
// longest ago goes: a note whose file is gone meanwhile sounds from memory while kept, and
// its alert once let go.
TEST_F(SdlPlayerTest, theTwentyFourSoundsUsedLastAreKeptAndTheOldestLetGo)
{
    writeSine(folder / "wav/So.wav", kLowHz, 0.5);
    SdlPlayer player({folder});
    const auto play = [&](const SoundRequest& request) { return settle(player, player.play(request)).state; };
    const auto tones = [&](int count, double from) {
        for (int i = 0; i < count; ++i)
            play(SoundRequest{"", "", from + i, {}});
    };
    ASSERT_EQ(play(SoundRequest{"wav/So.wav", "", 0.0, {}}), Playback::State::Sounding);
    fs::remove(folder / "wav/So.wav");
    tones(23, 2000.0);
    EXPECT_EQ(play(SoundRequest{"wav/So.wav", "", 0.0, {}}), Playback::State::Sounding) << "one of the last 24";
    tones(24, 3000.0);
    EXPECT_EQ(play(SoundRequest{"wav/So.wav", "", 0.0, {}}), Playback::State::Alert) << "25 sounds ago";
}

TEST_F(SdlPlayerTest, aBadNoteIsOpenedOnceAndItsOutcomeRemembered)
{
    fs::create_directories(folder / "wav");
    std::ofstream(folder / "wav/Ra.wav") << "not a wave file";
    SdlPlayer player({folder}, {"wav/Ra.wav"});
    player.waitUntilLoaded();
    for (int i = 0; i < 20; ++i)
        player.play("wav/Ra.wav");
    // Were the file read again, the good note now under its name would sound.
    writeSine(folder / "wav/Ra.wav", kLowHz, 0.5);
    player.play("wav/Ra.wav");
    waitForRecording(recordedBytes(), 0.15);
    const auto left = recorded();
    EXPECT_LT(onset(left, 1000.0), left.size());
    EXPECT_EQ(onset(left, kLowHz), left.size());
}

// What a play's ticket reports is what became of it: the alert tone is never the note
// sounding, a replay leaves the first play's start as it was, a play another comes after
// while it waits is dropped, and of several asked while loading the last plays first.
TEST_F(SdlPlayerTest, eachPlayReportsWhatBecameOfIt)
{
    using State = Playback::State;
    writeSine(folder / "wav/Do.wav", kLowHz, 0.5);
    writeSine(folder / "wav/Re.wav", kHighHz, 0.5);
    writeSine(folder / "wav/Mi.wav", 600.0, 0.5);
    writeSine(folder / "wav/Fa.wav", 300.0, 0.5);  // held up in its loading, below
    {
        audio::Wave flac{kRate, std::vector<float>(kRate)};
        for (size_t i = 0; i < flac.samples.size(); ++i)
            flac.samples[i] = float(0.5 * std::sin(2 * std::numbers::pi * 1200.0 * double(i) / kRate));
        fs::create_directories(folder / "notes/guitar");
        ASSERT_TRUE(audio::writeFlac(folder / "notes/guitar/Re3.flac", flac));
        std::ofstream(folder / "notes/guitar/Mi3.flac") << "fLaC, or so it says";
    }
    const auto sound = [](const char* file, const char* standIn = "", double hz = 0.0) {
        return SoundRequest{file, standIn, hz, {}};
    };
    const struct {
        const char* what;
        std::vector<SoundRequest> played;  // in turn, as fast as they come
        std::vector<State> reported;      // for each, once nothing waits
        double heard;                     // the one frequency in the recording
    } cases[] = {
        {"a file that is missing", {sound("wav/Si.wav")}, {State::Alert}, 1000.0},
        {"asked while loading, then another", {sound("wav/Fa.wav"), sound("wav/Do.wav")},
         {State::Dropped, State::Sounding}, kLowHz},
        {"three asked while loading", {sound("wav/Fa.wav"), sound("wav/Re.wav"), sound("wav/Mi.wav")},
         {State::Dropped, State::Dropped, State::Sounding}, 600.0},
        {"a FLAC file", {sound("notes/guitar/Re3.flac", "wav/Re.wav")}, {State::Sounding}, 1200.0},
        {"a refused file with a stand-in", {sound("notes/guitar/Mi3.flac", "wav/Do.wav")}, {State::Sounding}, kLowHz},
        {"a missing file with a stand-in", {sound("notes/guitar/Fa3.flac", "wav/Mi.wav")}, {State::Sounding}, 600.0},
        {"a pure tone", {sound("", "", 1400.0)}, {State::Sounding}, 1400.0},
    };
    for (const auto& c : cases) {
        fs::remove(output);
        {
            HeldNote fa("Fa.wav");
            SdlPlayer player({folder}, {}, fa.reader());
            player.start();
            std::vector<Player::Ticket> tickets;
            for (const auto& note : c.played)
                tickets.push_back(player.play(note));
            fa.release();
            for (std::size_t i = 0; i < tickets.size(); ++i)
                EXPECT_EQ(settle(player, tickets[i]).state, c.reported[i]) << c.what << ", play " << i;
            waitForRecording(recordedBytes(), 0.15);
        }
        const auto left = recorded();
        EXPECT_LT(onset(left, c.heard), left.size()) << c.what;
        // Each 200 Hz or more from the next, four times the analysis window's bins.
        for (const double other : {kLowHz, kHighHz, 600.0, 300.0, 1000.0, 1200.0, 1400.0}) {
            if (other != c.heard) {
                EXPECT_EQ(onset(left, other), left.size()) << c.what << ": " << other << " Hz sounded";
            }
        }
    }

    // A replay: a new ticket of its own, the first play's start untouched.
    SdlPlayer player({folder}, {"wav/Do.wav"});
    player.waitUntilLoaded();
    const auto first = player.play("wav/Do.wav");
    const Playback before = player.playback(first);
    ASSERT_EQ(before.state, State::Sounding);
    std::this_thread::sleep_for(20ms);
    const auto replay = player.play("wav/Do.wav");
    EXPECT_EQ(player.playback(first).startedAt, before.startedAt);
    EXPECT_EQ(player.playback(first).state, State::Sounding);
    EXPECT_GT(player.playback(replay).startedAt, before.startedAt);
}

// The guard's tones come first, then the note; the play's start is the note's own, and a
// replay has no tones before it.
TEST_F(SdlPlayerTest, theGuardsTonesComeBeforeTheNoteWhichTheStartTimes)
{
    writeSine(folder / "wav/Do.wav", kLowHz, 0.5);
    const std::vector<double> tones{150.0, 1010.0, 230.0, 555.0, 870.0, 190.0};
    std::chrono::steady_clock::time_point asked, returned;
    Playback guarded;
    {
        SdlPlayer player({folder}, {"wav/Do.wav"});
        player.waitUntilLoaded();
        asked = std::chrono::steady_clock::now();
        const auto ticket = player.play(SoundRequest{"wav/Do.wav", "", 0.0, tones});
        returned = std::chrono::steady_clock::now();
        guarded = player.playback(ticket);
        waitForRecording(recordedBytes(), 1.6);
    }
    ASSERT_EQ(guarded.state, Playback::State::Sounding);
    // The note's own start: the tones and the silence after them past the play, give or
    // take the device's period.
    const double earliest = std::chrono::duration<double>(guarded.startedAt - asked).count();
    const double latest = std::chrono::duration<double>(guarded.startedAt - returned).count();
    EXPECT_GT(earliest, kGuardSeconds + kGuardSilenceSeconds - 0.02);
    EXPECT_LT(latest, kGuardSeconds + kGuardSilenceSeconds + 0.1);
    const auto left = recorded();
    const size_t first = onset(left, tones.front());
    const size_t note = onset(left, kLowHz);
    ASSERT_LT(note, left.size());
    EXPECT_NEAR(double(note - first) / kRate, kGuardSeconds + kGuardSilenceSeconds, 0.03);
    for (const double hz : tones)
        EXPECT_LT(onset(left, hz), note) << hz << " Hz never sounded before the note";
}

// Two players in one process share SDL's device: the end of one leaves nothing of it for
// the device's thread to call into (AddressSanitizer sees any that is left).
TEST_F(SdlPlayerTest, aPlayerEndingWhileAnotherPlaysLeavesNothingBehind)
{
    writeSine(folder / "wav/Do.wav", kLowHz, 0.5);
    SdlPlayer staying({folder}, {"wav/Do.wav"});
    staying.waitUntilLoaded();
    {
        SdlPlayer leaving({folder}, {"wav/Do.wav"});
        leaving.waitUntilLoaded();
        leaving.play("wav/Do.wav");
        std::this_thread::sleep_for(50ms);
    }
    const auto ticket = staying.play("wav/Do.wav");
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(staying.playback(ticket).state, Playback::State::Sounding);
}

TEST_F(SdlPlayerTest, withNoAudioDeviceAtAllPlayingFails)
{
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlPlayer player({folder});
    player.start();
    EXPECT_FALSE(player.isOpen());
    EXPECT_THROW(player.play("wav/Do.wav"), SoundError);
}

// The kernel kills a real-time thread that runs past RLIMIT_RTTIME without blocking: the
// audio thread goes real-time only where the budget allows a fifth of a second.
TEST(RealtimeBudget, aThreadGoesRealTimeOnlyWithAFifthOfASecondOrNoLimit)
{
    const struct {
        rlim_t limitUs;
        bool allowed;
    } cases[] = {{0, false}, {1, false}, {199'999, false}, {200'000, true}, {5'000'000, true}, {RLIM_INFINITY, true}};
    for (const auto& c : cases)
        EXPECT_EQ(realtimeBudgetSuffices(c.limitUs), c.allowed) << c.limitUs;
}

}  // namespace
}  // namespace tonarika
