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
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
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
        server = ::fork();
        if (server == 0) {
            ::execlp("pulseaudio", "pulseaudio", "-n", "-F", (folder / "server.pa").c_str(), "--daemonize=no",
                     "--exit-idle-time=-1", "--disallow-exit", ("--log-target=file:" + (folder / "server.log").string()).c_str(),
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 100 && !fs::exists(socket); ++i)
            std::this_thread::sleep_for(50ms);
        ::setenv("PULSE_SERVER", ("unix:" + socket.string()).c_str(), 1);
    }
    static void TearDownTestSuite()
    {
        if (server > 0) {
            ::kill(server, SIGTERM);
            ::waitpid(server, nullptr, 0);
        }
        ::unsetenv("PULSE_SERVER");
        fs::remove_all(folder);
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

// A note sounds at the moment its start says; a new one takes over at once, not behind
// the quarter second queued, with the old one faded out: no click, and no gap.
TEST_F(PulseOutputTest, aNoteSoundsWhenItsStartSaysAndTheNextTakesOverAtOnce)
{
    writeSine(folder / "wav/Do.wav", 400.0, 0.9, 2.0);
    writeSine(folder / "wav/Mi.wav", 800.0, 0.5, 2.0);
    Recorder recorder;
    ASSERT_TRUE(recorder.recording());
    NotePlayer player({folder}, {"wav/Do.wav", "wav/Mi.wav"}, [] { return PulseOutput::open(); });
    player.waitUntilLoaded();
    ASSERT_TRUE(player.isOpen()) << "no stream on the test's server";
    ASSERT_TRUE(recorder.flowing()) << "the monitor gave nothing to record";
    std::this_thread::sleep_for(300ms);
    const auto first = player.play("wav/Do.wav");
    std::this_thread::sleep_for(300ms);
    const auto second = player.play("wav/Mi.wav");
    std::this_thread::sleep_for(400ms);
    std::vector<Clock::time_point> times;
    const auto samples = recorder.samples(&times);

    const std::size_t low = firstSound(samples);
    ASSERT_LT(low, samples.size()) << "the first note never reached the server";
    std::size_t high = low;
    while (high < samples.size() && amplitudeAt(samples, high, 800.0) < 0.25)
        high += kRate / 1000;
    ASSERT_LT(high, samples.size()) << "the second note never reached the server";
    const auto reported = player.playback(first).startedAt;
    const auto apart = std::chrono::duration<double, std::milli>(player.playback(second).startedAt - reported).count();
    const double heardApart = 1000.0 * double(high - low) / kRate;
    EXPECT_NEAR(heardApart, apart, 25.0) << "the second note waited behind what was queued";
    EXPECT_NEAR(amplitudeAt(samples, low + kRate / 20, 400.0), 0.9, 0.05);
    EXPECT_LT(amplitudeAt(samples, high + kRate / 20, 400.0), 0.01) << "the first note was not faded out";
    EXPECT_NEAR(amplitudeAt(samples, high + kRate / 20, 800.0), 0.5, 0.05);
#ifdef __SANITIZE_ADDRESS__
    // Several times slower, the program outruns the millisecond its new note is written
    // ahead of the server's read position: where and when it lands is no measure here.
    GTEST_SKIP() << "timing and clicks are measured in the ordinary build";
#endif
    const auto late = std::chrono::duration<double, std::milli>(times[low] - reported).count();
    EXPECT_LT(std::abs(late), 15.0) << "the note reached the server " << late << " ms after its reported start";
    // Neither sine moves by more than 0.12 between two samples; a cut would, and so would
    // a gap's edges. And no run of silence from the first note's start on.
    float largestStep = 0;
    std::size_t silentRun = 0, longestSilence = 0;
    for (std::size_t i = low + 1; i < std::min(samples.size(), high + kRate / 5); ++i) {
        largestStep = std::max(largestStep, std::abs(samples[i] - samples[i - 1]));
        silentRun = std::abs(samples[i]) < 0.0003f ? silentRun + 1 : 0;
        longestSilence = std::max(longestSilence, silentRun);
    }
    EXPECT_LT(largestStep, 0.15f) << "a click where the first note stopped";
    EXPECT_LT(longestSilence, 8u) << "a gap in the notes";
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
