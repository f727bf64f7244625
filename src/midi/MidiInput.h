#pragma once

// own
#include "MidiMessages.h"
#include "MidiQueue.h"
#include "MidiWatcher.h"

// std
#include <atomic>
#include <string>
#include <vector>

namespace tonarika {

// The game's one MIDI input: ALSA client "Tonarika" (JACK client "tonarika"), its port
// "answers", to which every keyboard is connected as it appears. Its messages are stamped
// as they arrive, turned into commands, and wait in the queue for the window's thread. It
// never starts a JACK server.
class MidiInput : private MidiWatcher::Observer {
public:
    using System = MidiWatcher::System;
    struct Options {
        bool alsa = true;  // false: JACK alone (the tests, on a machine that has a sequencer)
    };

    explicit MidiInput(MidiQueue& queue, Options options);
    explicit MidiInput(MidiQueue& queue) : MidiInput(queue, Options{}) {}
    MidiInput(const MidiInput&) = delete;
    MidiInput& operator=(const MidiInput&) = delete;

    // Opens the input and begins taking keyboards; returns at once.
    void start() { m_watcher.start(); }
    // Which system was opened: None until it is, and where none could be.
    System system() const { return m_watcher.system(); }
    // The keyboards connected now, by name.
    std::vector<std::string> keyboards() const { return m_watcher.keyboards(); }

    // The names every system takes.
    static constexpr const char* kAlsaClient = "Tonarika";
    static constexpr const char* kJackClient = "tonarika";
    static constexpr const char* kPort = "answers";

private:
    // MidiWatcher::Observer
    void message(std::span<const std::uint8_t> bytes, std::chrono::steady_clock::time_point arrived) override;
    void keyboardCame(const std::string& keyboard) override;
    void keyboardGone(const std::string& keyboard) override;
    void opened(System system, const std::string& description, const std::string& alsaWhy) override;
    void noneOpened(const std::string& alsaWhy, const std::string& jackWhy) override;
    void wentAway() override;
    void woken() override;

    MidiQueue& m_queue;
    MidiGate m_gate;  // used on the thread messages arrive on alone
    // A keyboard came: the gate forgets the pedal, which a keyboard unplugged while it
    // was down never lifted.
    std::atomic<bool> m_keyboardCame{false};
    // A command was dropped, and the watcher was woken to tell it.
    std::atomic<bool> m_dropping{false};
    MidiWatcher m_watcher;  // last: its thread ends first
};

}  // namespace tonarika
