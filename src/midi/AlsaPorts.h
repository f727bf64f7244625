#pragma once

// own
#include "MidiPorts.h"

// std
#include <map>
#include <memory>
#include <string>

struct _snd_seq;

namespace tonarika {

// The ALSA sequencer's outputs, through a handle of our own beside the input's: it lists
// every readable MIDI port of the other clients and subscribes our input to one, as
// aconnect does.
class AlsaPorts : public MidiPorts {
public:
    // Nothing where the sequencer cannot be opened (no /dev/snd/seq), and why in `why`.
    static std::unique_ptr<AlsaPorts> open(std::string* why);
    ~AlsaPorts() override;
    AlsaPorts(const AlsaPorts&) = delete;
    AlsaPorts& operator=(const AlsaPorts&) = delete;

    // Finds our input: the port `port` of this process's client named `client`.
    bool findInput(const std::string& client, const std::string& port);

    std::vector<std::string> sources() override;
    bool connect(const std::string& source) override;

private:
    explicit AlsaPorts(_snd_seq* seq) : m_seq(seq) {}

    struct Address {
        int client = -1;
        int port = -1;
    };
    _snd_seq* m_seq = nullptr;
    Address m_input;
    std::map<std::string, Address> m_seen;  // the last listing's ports by name
};

}  // namespace tonarika
