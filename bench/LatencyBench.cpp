// How soon a click on Listen is heard, through a real sound server. The game runs under
// an X server, its sound going to a PulseAudio null sink; this program records the
// sink's monitor in fragments of a millisecond, clicks Listen through XTEST, and finds
// each note's first sample in the recording. From the click's release to that sample
// is the latency. With --stress it clicks a thousand times in quick succession instead,
// and counts the gaps (runs of silence) in what should sound without a break. With
// --answer it presses every white key after each note, so that each click asks a new
// question (Easy) rather than playing the last one again. It fails only where it could
// not measure: no window, no recording, or a click never heard.
//   tonarika-latency [--clicks N] [--stress] [--answer]    (DISPLAY and PULSE_SERVER set)

// system
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <pulse/error.h>
#include <pulse/simple.h>

// std
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr int kFragmentFrames = kRate / 1000;  // a millisecond
constexpr int kSilence = 8;                    // a sample this small counts as silence
constexpr int kGapFrames = 64;                 // this many silent frames in a row is a gap

double secondsOf(Clock::time_point t)
{
    return std::chrono::duration<double>(t.time_since_epoch()).count();
}

// Records the null sink's monitor on a thread of its own: every left sample, and, for
// every fragment of a millisecond, the time its read returned. A frame reached the
// server no later than the read that brought it returned, less the frames after it in
// that read: that is the time given to it, late by the monitor's own small latency,
// the same for any program measured this way.
class Recorder {
public:
    explicit Recorder(const char* source)
    {
        const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 2};
        pa_buffer_attr attributes{};
        attributes.maxlength = std::uint32_t(-1);
        attributes.fragsize = kFragmentFrames * 4;
        int error = 0;
        m_stream = pa_simple_new(nullptr, "tonarika-latency", PA_STREAM_RECORD, source, "monitor", &spec, nullptr,
                                 &attributes, &error);
        if (!m_stream) {
            std::fprintf(stderr, "tonarika-latency: cannot record %s: %s\n", source, pa_strerror(error));
            std::exit(1);
        }
        m_thread = std::thread([this] { run(); });
    }
    ~Recorder()
    {
        stop();
        pa_simple_free(m_stream);
    }

    double timeOf(std::size_t frame) const
    {
        const auto read = std::upper_bound(m_reads.begin(), m_reads.end(), frame,
                                           [](std::size_t f, const Read& r) { return f < r.frames; });
        if (read == m_reads.end())
            return 1e300;
        return read->time - double(read->frames - frame) / kRate;
    }
    // The first frame given a time at or after `time`.
    std::size_t frameAt(double time) const
    {
        const auto read = std::lower_bound(m_reads.begin(), m_reads.end(), time,
                                           [](const Read& r, double t) { return r.time < t; });
        if (read == m_reads.end())
            return m_samples.size();
        const double before = (read->time - time) * kRate;
        return read->frames - std::min<std::size_t>(read->frames, std::size_t(std::max(0.0, before)));
    }
    // What was recorded, once the recording has stopped.
    const std::vector<std::int16_t>& samples() const { return m_samples; }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    void run()
    {
        std::vector<std::int16_t> fragment(kFragmentFrames * 2);
        while (!m_stop) {
            int error = 0;
            if (pa_simple_read(m_stream, fragment.data(), fragment.size() * 2, &error) < 0) {
                std::fprintf(stderr, "tonarika-latency: recording failed: %s\n", pa_strerror(error));
                std::exit(1);
            }
            const double now = secondsOf(Clock::now());
            for (std::size_t i = 0; i < fragment.size(); i += 2)
                m_samples.push_back(fragment[i]);
            m_reads.push_back({m_samples.size(), now});
        }
    }

    pa_simple* m_stream = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    struct Read {
        std::size_t frames;  // recorded when it returned
        double time;
    };
    std::vector<std::int16_t> m_samples;
    std::vector<Read> m_reads;
};

// The game's window, found by its title, and the centre of Listen in root coordinates.
bool findListen(Display* display, int& x, int& y)
{
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(display, children[i], &name) && name && std::strcmp(name, "Tonarika") == 0
            && XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable) {
            // Listen sits 24 px from the left and 25 px above the bottom of its 162-pixel-high
            // client area, 137 x 33 px: its middle is (92, height - 25).
            Window child = 0;
            XTranslateCoordinates(display, children[i], root, 92, attributes.height - 25, &x, &y, &child);
            found = true;
        }
        if (name)
            XFree(name);
    }
    if (children)
        XFree(children);
    return found;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const double at = p * double(values.size() - 1);
    const auto low = std::size_t(std::floor(at));
    const auto high = std::min(low + 1, values.size() - 1);
    return values[low] + (values[high] - values[low]) * (at - double(low));
}

}  // namespace

int main(int argc, char** argv)
{
    int clicks = 25;
    bool stress = false;
    bool answer = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--clicks") == 0 && i + 1 < argc)
            clicks = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--stress") == 0)
            stress = true;
        else if (std::strcmp(argv[i], "--answer") == 0)
            answer = true;
    }
    if (stress && clicks == 25)
        clicks = 1000;

    Display* display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::fprintf(stderr, "tonarika-latency: no X display with XTEST\n");
        return 1;
    }
    int x = 0, y = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!findListen(display, x, y)) {
        if (Clock::now() > deadline) {
            std::fprintf(stderr, "tonarika-latency: the game's window never appeared\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    Recorder recorder("tonarika_null.monitor");
    // Time for the notes to load and for the recording to settle.
    std::this_thread::sleep_for(std::chrono::seconds(2));

    // Each click waits until the note before has died away, so that its onset stands out
    // of silence, at a random point of the sound server's period; under --stress, one
    // note cuts the next off, and the sound should never break.
    std::mt19937 random(12345);
    std::vector<double> releases;
    XTestFakeMotionEvent(display, -1, x, y, 0);
    for (int i = 0; i < clicks; ++i) {
        const int pause = stress ? 100 + int(random() % 50) : 2200 + int(random() % 200);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        XTestFakeButtonEvent(display, 1, True, 0);
        XFlush(display);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        XTestFakeButtonEvent(display, 1, False, 0);
        XFlush(display);
        releases.push_back(secondsOf(Clock::now()));
        if (answer) {
            // After the note's onset; the keys under the pointer's window, where the focus is.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            for (const char* key : {"a", "s", "d", "f", "j", "k", "l"}) {
                const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(key));
                XTestFakeKeyEvent(display, code, True, 0);
                XTestFakeKeyEvent(display, code, False, 0);
            }
            XFlush(display);
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(stress ? 500 : 2200));
    recorder.stop();
    const auto& samples = recorder.samples();

    if (stress) {
        // From the first sound to the last click, the notes overlap: any run of silence
        // there is sound that never came.
        std::size_t from = recorder.frameAt(releases.front());
        while (from < samples.size() && std::abs(samples[from]) < kSilence)
            ++from;
        const std::size_t to = std::min(samples.size(), recorder.frameAt(releases.back() + 0.3));
        int gaps = 0, silent = 0;
        for (std::size_t i = from; i < to; ++i) {
            silent = std::abs(samples[i]) < kSilence ? silent + 1 : 0;
            gaps += silent == kGapFrames;
        }
        std::printf("notes: %d   sound checked: %.1f s   gaps: %d\n", clicks, double(to - from) / kRate, gaps);
        if (to <= from) {
            std::fprintf(stderr, "tonarika-latency: nothing sounded\n");
            return 1;
        }
        return 0;
    }

    std::vector<double> latencies;
    for (const double release : releases) {
        // The first sound after the click; the 50 ms before the release must be silent.
        const std::size_t quiet = recorder.frameAt(release - 0.05);
        std::size_t onset = quiet;
        while (onset < samples.size() && std::abs(samples[onset]) < kSilence)
            ++onset;
        if (onset < recorder.frameAt(release)) {
            std::fprintf(stderr, "tonarika-latency: the note before had not died away at click %zu (%.1f ms before, %d)\n",
                         latencies.size(), (release - recorder.timeOf(onset)) * 1e3, samples[onset]);
            return 1;
        }
        const double latency = recorder.timeOf(onset) - release;
        if (onset >= samples.size() || latency < 0 || latency > 1.0) {
            std::fprintf(stderr, "tonarika-latency: no note after a click (%.1f ms)\n", latency * 1e3);
            return 1;
        }
        latencies.push_back(latency * 1e3);
    }
    std::printf("clicks: %zu   latency from the release to the first sample at the server, ms:\n", latencies.size());
    std::printf("  median %.1f   p10 %.1f   p90 %.1f   max %.1f\n", percentile(latencies, 0.5), percentile(latencies, 0.1),
                percentile(latencies, 0.9), *std::max_element(latencies.begin(), latencies.end()));
    return 0;
}
