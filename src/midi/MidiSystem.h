#pragma once

// std
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tonarika {

// One MIDI system as this program opens it: one client of its own, with the input port
// "answers" where the program takes answers, to which every keyboard (every MIDI output
// but its own and the system's through port) is connected as it appears, by the system's
// own news of ports that come and go. Its news is taken on one thread, woken through its
// descriptor.
class MidiSystem {
public:
    // What the system tells: messages on the thread they arrive on (for JACK, its process
    // thread: no lock, no wait), keyboards on the thread that calls handle().
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void message(std::span<const std::uint8_t> bytes, std::chrono::steady_clock::time_point arrived) = 0;
        virtual void keyboardCame(const std::string& keyboard) = 0;
        virtual void keyboardGone(const std::string& keyboard) = 0;
    };

    virtual ~MidiSystem() = default;
    // Readable while handle() has something to take.
    virtual int descriptor() const = 0;
    // Takes what came: keyboards that came (connected to the input) and went, and for the
    // ALSA sequencer, the messages too.
    virtual void handle() = 0;
    // False once the system went away (a JACK server that stopped): it is opened anew.
    virtual bool alive() const = 0;
    // The keyboards there are now, by name.
    virtual std::vector<std::string> keyboards() const = 0;
    // What was opened, for a line on stderr.
    virtual std::string description() const = 0;
};

}  // namespace tonarika
