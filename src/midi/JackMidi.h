#pragma once

// own
#include "MidiSystem.h"

// std
#include <atomic>
#include <set>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct _jack_client;
struct _jack_port;

namespace tonarika {

// A client of a JACK server that already runs (it never starts one), PipeWire's JACK too:
// with an input port where it takes answers, connected to every MIDI output as the server
// says one was registered; its messages are read on the server's process thread. The
// server's going away is news too, after which the client is closed and alive() is false.
class JackMidi : public MidiSystem {
public:
    // Nothing, and why, where no server takes the client. `port`: the input's name, or
    // none for a client that only sees the keyboards.
    static std::unique_ptr<JackMidi> open(const std::string& client, const std::string& port, Listener& listener,
                                          std::string* why);
    ~JackMidi() override;
    JackMidi(const JackMidi&) = delete;
    JackMidi& operator=(const JackMidi&) = delete;

    int descriptor() const override { return m_news; }
    void handle() override;
    bool alive() const override { return !m_shutDown.load(); }
    std::vector<std::string> keyboards() const override;
    std::string description() const override;

private:
    JackMidi(_jack_client* client, Listener& listener);
    // Every MIDI output but this client's own and a through port.
    std::set<std::string> outputs() const;

    static int process(unsigned frames, void* self);
    static void portRegistered(unsigned id, int registered, void* self);
    static void shutDown(void* self);

    _jack_client* m_client;
    _jack_port* m_input = nullptr;
    Listener& m_listener;
    int m_news = -1;  // an eventfd the server's threads write
    std::atomic<bool> m_shutDown{false};
    mutable std::mutex m_mutex;
    std::set<std::string> m_keyboards;  // connected, by name
    std::set<std::string> m_going;      // ports the server said went, which it may list still
};

}  // namespace tonarika
