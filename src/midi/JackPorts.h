#pragma once

// own
#include "MidiPorts.h"

// std
#include <atomic>
#include <memory>
#include <string>

struct _jack_client;

namespace tonarika {

// A running JACK server's MIDI outputs (PipeWire's JACK too), through a client of our own
// that never starts a server: it lists every MIDI output and connects one to our input.
class JackPorts : public MidiPorts {
public:
    // Nothing where no server runs, and why in `why`.
    static std::unique_ptr<JackPorts> open(const std::string& clientName, std::string* why);
    ~JackPorts() override;
    JackPorts(const JackPorts&) = delete;
    JackPorts& operator=(const JackPorts&) = delete;

    // Finds our input: the port `port` of this process's client named `client` (or of a
    // name the server made unique, "tonarika-01").
    bool findInput(const std::string& client, const std::string& port);
    const std::string& input() const { return m_input; }
    // The server's period, in frames and in milliseconds, and whether it is PipeWire's.
    struct Period {
        unsigned frames = 0;
        unsigned rate = 0;
        bool pipewire = false;
    };
    Period period() const;

    std::vector<std::string> sources() override;
    bool connect(const std::string& source) override;
    bool alive() const override { return m_alive->load(); }

private:
    explicit JackPorts(_jack_client* client);

    _jack_client* m_client = nullptr;
    std::string m_input;
    std::shared_ptr<std::atomic<bool>> m_alive = std::make_shared<std::atomic<bool>>(true);
};

}  // namespace tonarika
