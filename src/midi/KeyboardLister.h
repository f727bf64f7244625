#pragma once

// own
#include "MidiWatcher.h"

// std
#include <string>
#include <vector>

namespace tonarika {

// The MIDI keyboards this desktop has now, for a page to show: a client of the ALSA
// sequencer (or of a running JACK server) of its own, with no input, that follows the
// keyboards that come and go on a thread of its own, so that asking never waits on a
// MIDI system.
class KeyboardLister : private MidiWatcher::Observer {
public:
    explicit KeyboardLister(const std::string& client);
    KeyboardLister(const KeyboardLister&) = delete;
    KeyboardLister& operator=(const KeyboardLister&) = delete;

    // Begins; returns at once.
    void start() { m_watcher.start(); }
    // The keyboards there are now, by name; whether any MIDI system could be opened.
    std::vector<std::string> keyboards() const { return m_watcher.keyboards(); }
    bool systemOpen() const { return m_watcher.systemOpen(); }

private:
    // MidiWatcher::Observer: nothing to take, nothing to tell.
    void message(std::span<const std::uint8_t>, std::chrono::steady_clock::time_point) override {}
    void keyboardCame(const std::string&) override {}
    void keyboardGone(const std::string&) override {}
    void opened(MidiWatcher::System, const std::string&, const std::string&) override {}
    void noneOpened(const std::string&, const std::string&) override {}
    void wentAway() override {}

    MidiWatcher m_watcher;
};

}  // namespace tonarika
