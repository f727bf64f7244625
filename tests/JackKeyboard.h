#pragma once

// std
#include <cstdint>
#include <string>
#include <vector>

// system
#include <jack/ringbuffer.h>
#include <jack/types.h>

namespace tonarika::test {

// A MIDI keyboard made with the JACK API: a client of its own name with one MIDI output,
// "out", which sends each message in the next period. Closing it is unplugging it.
class JackKeyboard {
public:
    // Throws std::runtime_error where no JACK server runs.
    explicit JackKeyboard(const std::string& name);
    ~JackKeyboard();
    JackKeyboard(const JackKeyboard&) = delete;
    JackKeyboard& operator=(const JackKeyboard&) = delete;

    // False where its queue to the server's thread is full.
    bool send(const std::vector<std::uint8_t>& message);
    std::string port() const { return m_name + ":out"; }
    // Whether `port` is connected to it.
    bool connectedTo(const std::string& port) const;

private:
    static int process(unsigned frames, void* self);

    std::string m_name;
    jack_client_t* m_client = nullptr;
    jack_port_t* m_out = nullptr;
    jack_ringbuffer_t* m_pending = nullptr;
};

}  // namespace tonarika::test
