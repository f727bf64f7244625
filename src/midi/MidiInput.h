#pragma once

// own
#include "KeyboardWatch.h"
#include "MidiMessages.h"
#include "MidiPorts.h"
#include "MidiQueue.h"

// std
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class RtMidiIn;

namespace tonarika {

// The game's one MIDI input: ALSA client "Tonarika" (JACK client "tonarika"), its port
// "answers", to which every keyboard is connected, at the start and whenever one
// appears. It opens and watches on a thread of its own; its messages arrive on RtMidi's
// thread, are stamped there and turned into commands, and wait in the queue for the
// window's thread. It never starts a JACK server.
class MidiInput {
public:
    enum class System { None, Alsa, Jack };
    struct Options {
        bool alsa = true;  // false: JACK alone (the tests, on a machine that has a sequencer)
        std::chrono::milliseconds lookEvery{1000};
    };

    explicit MidiInput(MidiQueue& queue, Options options);
    explicit MidiInput(MidiQueue& queue) : MidiInput(queue, Options{}) {}
    ~MidiInput();
    MidiInput(const MidiInput&) = delete;
    MidiInput& operator=(const MidiInput&) = delete;

    // Opens the input and begins watching for keyboards; returns at once.
    void start();
    // Which system was opened: None until it is, and where none could be.
    System system() const;
    // The keyboards connected now, by name.
    std::vector<std::string> keyboards() const;

    // The names every system takes.
    static constexpr const char* kAlsaClient = "Tonarika";
    static constexpr const char* kJackClient = "tonarika";
    static constexpr const char* kPort = "answers";

private:
    void run();
    // Opens a system: whether one opened; why none could, on stderr unless `quiet`.
    bool open(bool quiet);
    void look();
    // Our input on RtMidi's `api`, its callback set; nothing, and why, where it fails.
    std::unique_ptr<RtMidiIn> openInput(int api, const char* client, std::string* why);
    static void received(double, std::vector<unsigned char>* message, void* self);

    MidiQueue& m_queue;
    Options m_options;
    MidiGate m_gate;  // used on RtMidi's thread alone
    // A keyboard came: the gate forgets the pedal, which a keyboard unplugged while it
    // was down never lifted.
    std::atomic<bool> m_keyboardCame{false};
    std::unique_ptr<RtMidiIn> m_in;
    std::unique_ptr<MidiPorts> m_ports;
    KeyboardWatch m_watch;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    System m_system = System::None;
    std::vector<std::string> m_keyboards;
    std::thread m_thread;
};

}  // namespace tonarika
