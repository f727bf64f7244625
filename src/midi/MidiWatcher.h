#pragma once

// own
#include "MidiSystem.h"

// std
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tonarika {

// One MIDI system kept open on a thread of its own: the ALSA sequencer where it opens,
// else a JACK server that already runs; where neither does, each is tried again every few
// seconds, and one that goes away is opened anew. The thread sleeps until the system has
// news, or it is woken. Nothing here keeps the caller waiting.
class MidiWatcher {
public:
    enum class System { None, Alsa, Jack };
    struct Options {
        std::string alsaClient;
        std::string jackClient;
        std::string port;  // the input's, or none where only the keyboards are seen
        bool alsa = true;  // false: JACK alone (the tests, on a machine that has a sequencer)
    };
    // What the thread tells beyond the system's own news: the system opened, or why none
    // could, once; and that it went away. And each wake.
    class Observer : public MidiSystem::Listener {
    public:
        virtual void opened(System system, const std::string& description, const std::string& alsaWhy) = 0;
        virtual void noneOpened(const std::string& alsaWhy, const std::string& jackWhy) = 0;
        virtual void wentAway() = 0;
        virtual void woken() {}
    };

    MidiWatcher(Options options, Observer& observer);
    ~MidiWatcher();
    MidiWatcher(const MidiWatcher&) = delete;
    MidiWatcher& operator=(const MidiWatcher&) = delete;

    // Begins; returns at once.
    void start();
    // Has the thread call Observer::woken() soon; from any thread, never waits.
    void wake();
    System system() const;
    bool systemOpen() const { return system() != System::None; }
    std::vector<std::string> keyboards() const;

    static constexpr std::chrono::seconds kRetry{5};

private:
    void run();
    // Opens a system: whether one opened; tells why none could unless `quiet`.
    bool open(bool quiet);

    Options m_options;
    Observer& m_observer;
    int m_wake = -1;  // an eventfd
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::unique_ptr<MidiSystem> m_system;  // replaced on the thread alone; read under the lock
    System m_kind = System::None;
    std::thread m_thread;
};

}  // namespace tonarika
