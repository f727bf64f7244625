#pragma once

// own
#include "MidiPorts.h"

// std
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tonarika {

// The MIDI keyboards this desktop has now, for a page to show: it lists the outputs of
// the ALSA sequencer (or of a running JACK server) on a thread of its own, again and
// again, so that asking never waits on a MIDI system.
class KeyboardLister {
public:
    explicit KeyboardLister(std::string jackClient, std::chrono::milliseconds lookEvery = std::chrono::seconds(2));
    ~KeyboardLister();
    KeyboardLister(const KeyboardLister&) = delete;
    KeyboardLister& operator=(const KeyboardLister&) = delete;

    // Begins listing; returns at once.
    void start();
    // The keyboards of the last listing, by name; whether any MIDI system could be opened.
    std::vector<std::string> keyboards() const;
    bool systemOpen() const;

private:
    void run();

    std::string m_jackClient;
    std::chrono::milliseconds m_lookEvery;
    std::unique_ptr<MidiPorts> m_ports;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    bool m_open = false;
    std::vector<std::string> m_keyboards;
    std::thread m_thread;
};

}  // namespace tonarika
