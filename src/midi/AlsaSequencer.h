#pragma once

// own
#include "MidiSystem.h"

// std
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

struct _snd_seq;

namespace tonarika {

// A client of the ALSA sequencer, with an input port where it takes answers, which
// follows the system's announce port: every MIDI output that appears is connected to the
// input (aconnect's own call), one that goes is told gone. Its news and its messages are
// read on the thread that handles them, woken by the sequencer's descriptor.
class AlsaSequencer : public MidiSystem {
public:
    // Nothing, and why, where the sequencer cannot be opened. `port`: the input's name, or
    // none for a client that only sees the keyboards.
    static std::unique_ptr<AlsaSequencer> open(const std::string& client, const std::string& port, Listener& listener,
                                               std::string* why);
    ~AlsaSequencer() override;
    AlsaSequencer(const AlsaSequencer&) = delete;
    AlsaSequencer& operator=(const AlsaSequencer&) = delete;

    int descriptor() const override { return m_descriptor; }
    void handle() override;
    bool alive() const override { return true; }
    std::vector<std::string> keyboards() const override;
    std::string description() const override;

private:
    using Address = std::pair<int, int>;  // client, port
    AlsaSequencer(_snd_seq* seq, Listener& listener);
    // Connects the port at `address` where it is a keyboard, and tells it.
    void consider(Address address);
    void gone(Address address);
    void goneClient(int client);

    _snd_seq* m_seq;
    Listener& m_listener;
    bool m_input = false;  // the port takes answers
    int m_port = -1;       // ours: the input, or a private one for the announcements
    int m_descriptor = -1;
    std::string m_clientName;
    std::string m_portName;
    mutable std::mutex m_mutex;
    std::map<Address, std::string> m_keyboards;
};

}  // namespace tonarika
