// The notes through a real PulseAudio server of the test's own, with a null sink whose
// monitor is recorded: what reaches the server is what a speaker would get.

// own
#include "NotePlayer.h"
#include "PulseOutput.h"
#include "audio/Pitch.h"
#include "audio/Wav.h"

// PulseAudio
#include <pulse/error.h>
#include <pulse/simple.h>

// system
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <mutex>
#include <numbers>
#include <thread>

namespace tonarika {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr int kFragment = kRate / 1000;  // a millisecond of frames per read

void writeSine(const fs::path& path, double hz, double amplitude, double seconds)
{
    audio::Wave wave{kRate, std::vector<float>(std::size_t(seconds * kRate))};
    for (std::size_t i = 0; i < wave.samples.size(); ++i)
        wave.samples[i] = float(amplitude * std::sin(2 * std::numbers::pi * hz * double(i) / kRate));
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(audio::writeWav(path, wave));
}

// Records the null sink's monitor on a thread of its own: every sample, and when each
// millisecond's read returned.
class Recorder {
public:
    Recorder()
    {
        const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 1};
        pa_buffer_attr attributes{};
        attributes.maxlength = std::uint32_t(-1);
        attributes.fragsize = kFragment * 2;
        int error = 0;
        m_stream = pa_simple_new(nullptr, "recorder", PA_STREAM_RECORD, "tonarika_null.monitor", "monitor", &spec,
                                 nullptr, &attributes, &error);
        if (m_stream)
            m_thread = std::thread([this] { run(); });
    }
    ~Recorder()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_stream)
            pa_simple_free(m_stream);
    }
    bool recording() const { return m_stream != nullptr; }
    // Waits until the monitor gives samples: a null sink's monitor takes a while to begin.
    bool flowing()
    {
        for (int i = 0; i < 1000 && samples().size() < std::size_t(kRate / 10); ++i)
            std::this_thread::sleep_for(10ms);
        return samples().size() >= std::size_t(kRate / 10);
    }

    // Waits until a fifth of a second has been silent, ten seconds at most; the end of that
    // silence, or 0 where none came.
    std::size_t quietFrom()
    {
        constexpr std::size_t kQuiet = kRate / 5;
        for (int i = 0; i < 1000; ++i) {
            const auto heard = samples();
            if (heard.size() >= kQuiet
                && std::all_of(heard.end() - std::ptrdiff_t(kQuiet), heard.end(), [](float v) { return std::abs(v) < 0.01f; }))
                return heard.size();
            std::this_thread::sleep_for(10ms);
        }
        return 0;
    }

    // The samples so far, and for each the moment it was at the server, at the latest.
    std::vector<float> samples(std::vector<Clock::time_point>* times = nullptr)
    {
        std::lock_guard lock(m_mutex);
        if (times)
            *times = m_times;
        return m_samples;
    }

private:
    void run()
    {
        std::int16_t fragment[kFragment];
        while (!m_stop) {
            if (pa_simple_read(m_stream, fragment, sizeof fragment, nullptr) < 0)
                return;
            const auto now = Clock::now();
            std::lock_guard lock(m_mutex);
            for (int i = 0; i < kFragment; ++i) {
                m_samples.push_back(fragment[i] / 32768.0f);
                m_times.push_back(now - std::chrono::microseconds((kFragment - 1 - i) * 1'000'000LL / kRate));
            }
        }
    }

    pa_simple* m_stream = nullptr;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<float> m_samples;
    std::vector<Clock::time_point> m_times;
};

class PulseOutputTest : public ::testing::Test {
protected:
    static inline fs::path folder;
    static inline pid_t server = -1;

    static void SetUpTestSuite()
    {
        folder = fs::temp_directory_path() / ("tonarika-pulse-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "runtime");
        const fs::path socket = folder / "runtime" / "native";
        std::ofstream(folder / "server.pa") << "load-module module-null-sink sink_name=tonarika_null rate=44100\n"
                                            << "load-module module-native-protocol-unix socket=" << socket.string()
                                            << " auth-anonymous=1\n"
                                            << "set-default-sink tonarika_null\n";
        ::setenv("HOME", folder.c_str(), 1);
        ::setenv("PULSE_RUNTIME_PATH", (folder / "runtime").c_str(), 1);
        startServer();
        ::setenv("PULSE_SERVER", ("unix:" + socket.string()).c_str(), 1);
    }
    static void TearDownTestSuite()
    {
        stopServer(SIGTERM);
        ::unsetenv("PULSE_SERVER");
        fs::remove_all(folder);
    }
    // Starts the server and waits until it answers on its socket, a minute at most.
    static void startServer()
    {
        const fs::path socket = folder / "runtime" / "native";
        server = ::fork();
        if (server == 0) {
            ::execlp("pulseaudio", "pulseaudio", "-n", "-F", (folder / "server.pa").c_str(), "--daemonize=no",
                     "--exit-idle-time=-1", "--disallow-exit", ("--log-target=file:" + (folder / "server.log").string()).c_str(),
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 1200 && !fs::exists(socket); ++i)
            std::this_thread::sleep_for(50ms);
    }
    static void stopServer(int signal)
    {
        if (server > 0) {
            ::kill(server, signal);
            ::waitpid(server, nullptr, 0);
        }
        server = -1;
        // Where it was killed, its socket stays behind; a new server makes its own.
        fs::remove(folder / "runtime" / "native");
    }
    void SetUp() override
    {
        if (!fs::exists(folder / "runtime" / "native"))
            GTEST_FAIL() << "the test's PulseAudio server did not start: see " << (folder / "server.log");
    }
};

// The first frame from `from` on that is louder than a small threshold.
std::size_t firstSound(const std::vector<float>& samples, std::size_t from = 0)
{
    for (std::size_t i = from; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > 0.01f)
            return i;
    }
    return samples.size();
}

double amplitudeAt(const std::vector<float>& samples, std::size_t start, double hz)
{
    constexpr std::size_t kWindow = kRate / 50;
    if (start + kWindow > samples.size())
        return 0.0;
    return 4.0 * audio::magnitudeAt(std::span(samples).subspan(start, kWindow), kRate, hz) / kWindow;
}

// What one pair of notes sounded like at the server: the second played 300 ms after the
// first, each reported start against the recording.
struct TwoNotes {
    bool bothHeard = false;
    double reportedApartMs = 0;
    double heardApartMs = 0;
    double lateMs = 0;  // the first note at the server after its reported start
    double firstAmplitude = 0, leftOfFirst = 0, secondAmplitude = 0;
    float largestStep = 0;         // between two samples, from the first note on
    std::size_t longestSilence = 0;  // in samples, from the first note on
};

TwoNotes playTwoNotes(NotePlayer& player)
{
    TwoNotes heard;
    Recorder recorder;
    if (!recorder.recording() || !recorder.flowing())
        return heard;
    // A try after one that failed begins once the last try's notes have died away: what is
    // heard from here on is this try's alone.
    const std::size_t quiet = recorder.quietFrom();
    if (quiet == 0)
        return heard;
    const auto first = player.play("wav/Do.wav");
    std::this_thread::sleep_for(300ms);
    const auto second = player.play("wav/Mi.wav");
    std::this_thread::sleep_for(400ms);
    std::vector<Clock::time_point> times;
    const auto samples = recorder.samples(&times);
    const std::size_t low = firstSound(samples, quiet);
    std::size_t high = low;
    while (high < samples.size() && amplitudeAt(samples, high, 800.0) < 0.25)
        high += kRate / 1000;
    if (low >= samples.size() || high >= samples.size())
        return heard;
    heard.bothHeard = true;
    const auto reported = player.playback(first).startedAt;
    heard.reportedApartMs = std::chrono::duration<double, std::milli>(player.playback(second).startedAt - reported).count();
    heard.heardApartMs = 1000.0 * double(high - low) / kRate;
    heard.lateMs = std::chrono::duration<double, std::milli>(times[low] - reported).count();
    heard.firstAmplitude = amplitudeAt(samples, low + kRate / 20, 400.0);
    heard.leftOfFirst = amplitudeAt(samples, high + kRate / 20, 400.0);
    heard.secondAmplitude = amplitudeAt(samples, high + kRate / 20, 800.0);
    // Neither sine moves by more than 0.12 between two samples; a cut would, and so would
    // a gap's edges. And no run of silence from the first note's start on.
    std::size_t silentRun = 0;
    for (std::size_t i = low + 1; i < std::min(samples.size(), high + kRate / 5); ++i) {
        heard.largestStep = std::max(heard.largestStep, std::abs(samples[i] - samples[i - 1]));
        silentRun = std::abs(samples[i]) < 0.0003f ? silentRun + 1 : 0;
        heard.longestSilence = std::max(heard.longestSilence, silentRun);
    }
    return heard;
}

// A note sounds at the moment its start says; a new one takes over at once, not behind
// the quarter second queued, with the old one faded out: no click, and no gap. The server
// of the test has no real-time priority, and a busy machine can hold it up: what depends on
// its timing counts from the best of five tries, which a fault of the output fails alike.
TEST_F(PulseOutputTest, aNoteSoundsWhenItsStartSaysAndTheNextTakesOverAtOnce)
{
    writeSine(folder / "wav/Do.wav", 400.0, 0.9, 2.0);
    writeSine(folder / "wav/Mi.wav", 800.0, 0.5, 2.0);
    NotePlayer player({folder}, {"wav/Do.wav", "wav/Mi.wav"}, [] { return PulseOutput::open(); });
    player.waitUntilLoaded();
    ASSERT_TRUE(player.isOpen()) << "no stream on the test's server";
    const auto inTime = [](const TwoNotes& heard) {
        return std::abs(heard.heardApartMs - heard.reportedApartMs) < 25.0 && std::abs(heard.lateMs) < 15.0
               && heard.largestStep < 0.15f && heard.longestSilence < 8u;
    };
    TwoNotes heard;
    for (int attempt = 0; attempt < 5 && !(heard.bothHeard && inTime(heard)); ++attempt)
        heard = playTwoNotes(player);
    ASSERT_TRUE(heard.bothHeard) << "the notes never reached the server, or the monitor gave nothing";
#ifdef __SANITIZE_ADDRESS__
    // Several times slower, the program outruns the margin its new note is written ahead
    // of the server's read position: where, when and how whole it lands is no measure here.
    GTEST_SKIP() << "levels, timing and clicks are measured in the ordinary build";
#endif
    EXPECT_NEAR(heard.firstAmplitude, 0.9, 0.05);
    EXPECT_LT(heard.leftOfFirst, 0.01) << "the first note was not faded out";
    EXPECT_NEAR(heard.secondAmplitude, 0.5, 0.05);
    EXPECT_NEAR(heard.heardApartMs, heard.reportedApartMs, 25.0) << "the second note waited behind what was queued";
    EXPECT_LT(std::abs(heard.lateMs), 15.0) << "the note reached the server " << heard.lateMs << " ms after its reported start";
    EXPECT_LT(heard.largestStep, 0.15f) << "a click where the first note stopped";
    EXPECT_LT(heard.longestSilence, 8u) << "a gap in the notes";
}

// Waits until `holds` is true, polling, a minute at most; whether it came true.
bool eventually(const std::function<bool()>& holds)
{
    for (int i = 0; i < 6000; ++i) {
        if (holds())
            return true;
        std::this_thread::sleep_for(10ms);
    }
    return holds();
}

// A note sounds at the server when it is played: the recording of the sink holds its pitch.
bool soundsAtTheServer(NotePlayer& player, const std::string& note, double hz)
{
    Recorder recorder;
    if (!recorder.recording() || !recorder.flowing())
        return false;
    const auto ticket = player.play(note);
    if (player.playback(ticket).state != Playback::State::Sounding)
        return false;
    return eventually([&] {
        const auto samples = recorder.samples();
        for (std::size_t start = 0; start + kRate / 50 <= samples.size(); start += kRate / 100) {
            if (amplitudeAt(samples, start, hz) > 0.3)
                return true;
        }
        return false;
    });
}

// Stands in the server's place while it is away: hangs up on each connection at once, as
// a server that fails does, and counts them.
class HangingUpSocket {
public:
    explicit HangingUpSocket(const fs::path& path)
        : m_path(path)
    {
        m_socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        if (::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(m_socket, 8) != 0)
            return;
        m_thread = std::thread([this] {
            while (!m_stop) {
                pollfd waiting{m_socket, POLLIN, 0};
                if (::poll(&waiting, 1, 20) > 0) {
                    if (const int connection = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC); connection >= 0) {
                        ::close(connection);
                        ++m_attempts;
                    }
                }
            }
        });
    }
    ~HangingUpSocket()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_socket);
        fs::remove(m_path);
    }
    int attempts() const { return m_attempts; }

private:
    fs::path m_path;
    int m_socket = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_attempts{0};
    std::thread m_thread;
};

// A server that goes away (a restart, a suspend, an update) and comes back: meanwhile a
// play says so and sounds nothing; a connection that fails meanwhile is tried again, however
// often; once the server is back, the next note sounds.
TEST_F(PulseOutputTest, aRestartedServerIsConnectedToAgainAndTheNextNoteSounds)
{
    writeSine(folder / "wav/Do.wav", 400.0, 0.8, 1.0);
    NotePlayer player({folder}, {"wav/Do.wav"}, [] { return PulseOutput::open(); });
    player.waitUntilLoaded();
    ASSERT_TRUE(player.isOpen()) << "no stream on the test's server";
    EXPECT_TRUE(soundsAtTheServer(player, "wav/Do.wav", 400.0)) << "before the server went away";

    stopServer(SIGKILL);
    ASSERT_TRUE(eventually([&] { return !player.output()->available(); })) << "the loss was never noticed";
    try {
        player.play("wav/Do.wav");
        ADD_FAILURE() << "a play without a server claimed to sound";
    } catch (const SoundError& error) {
        EXPECT_EQ(error.cause(), SoundError::Cause::Reconnecting);
    }

    // Away across several tries, each of which fails: the output tries on.
    {
        HangingUpSocket away(folder / "runtime" / "native");
        bool triedOn = false;
        for (int i = 0; i < 2000 && !triedOn; ++i) {
            triedOn = away.attempts() >= 2;
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_TRUE(triedOn) << "tried " << away.attempts() << " times while the server was away";
    }
    startServer();
    ASSERT_TRUE(fs::exists(folder / "runtime" / "native")) << "the server did not come back";
    EXPECT_TRUE(eventually([&] { return player.output()->available(); })) << "never connected again";
    EXPECT_TRUE(soundsAtTheServer(player, "wav/Do.wav", 400.0)) << "after the server came back";
}

// A note reaches the device once the server has read the frames before it, and then once
// the sink has played what it holds: both delays are in its start.
TEST(PulseOutputTiming, aNoteStartsAfterTheFramesBeforeItAndTheSinksLatency)
{
    const std::chrono::steady_clock::time_point now{std::chrono::seconds(100)};
    const struct {
        std::int64_t at, read;
        double sinkFrames;
        int rate;
        double ms;
    } cases[] = {
        {1096, 1000, 0.0, 48000, 2.0},     // the margin alone
        {1096, 1000, 480.0, 48000, 12.0},  // and a sink of 10 ms
        {44100, 0, 441.0, 44100, 1010.0},
    };
    for (const auto& c : cases) {
        const auto start = PulseOutput::reachesDevice(now, c.at, c.read, c.sinkFrames, c.rate);
        const double ms = std::chrono::duration<double, std::milli>(start - now).count();
        EXPECT_NEAR(ms, c.ms, 1e-6);
    }
}

TEST_F(PulseOutputTest, withNoServerThereIsNoOutput)
{
    const std::string before = std::getenv("PULSE_SERVER");
    ::setenv("PULSE_SERVER", ("unix:" + (folder / "no-such-socket").string()).c_str(), 1);
    EXPECT_FALSE(PulseOutput::open(500ms));
    ::setenv("PULSE_SERVER", before.c_str(), 1);
}

}  // namespace
}  // namespace tonarika
