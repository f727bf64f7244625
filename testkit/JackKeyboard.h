#pragma once

// std
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// system
#include <jack/ringbuffer.h>
#include <jack/types.h>

namespace tonarika::test {

// A MIDI keyboard made with the JACK API: a client of its own name with one MIDI output,
// "out", which sends each message in the next period. Closing it is unplugging it.
// It keeps a record of each message it wrote into its port's buffer, with the period it
// went out in, and of each xrun the server told it of.
class JackKeyboard {
public:
    // A message written: the how-manieth sent (from 0), and the first frame of its period.
    struct Written {
        std::uint64_t message = 0;
        jack_nframes_t period = 0;
    };

    // Throws std::runtime_error where no JACK server runs.
    explicit JackKeyboard(const std::string& name);
    ~JackKeyboard();
    JackKeyboard(const JackKeyboard&) = delete;
    JackKeyboard& operator=(const JackKeyboard&) = delete;

    // False where its queue to the server's thread is full.
    bool send(const std::vector<std::uint8_t>& message);
    // How many messages send() has taken.
    std::uint64_t sent() const { return m_sent; }
    std::string port() const { return m_name + ":out"; }
    // Whether `port` is connected to it.
    bool connectedTo(const std::string& port) const;

    // The messages written since the last call, in order.
    std::vector<Written> takeWritten();
    // The server's frame time when each xrun was told, in order. The server tells every
    // client of every xrun: its own, this keyboard's and any other client's.
    std::vector<jack_nframes_t> xruns() const;
    // The server's frame time now.
    jack_nframes_t frameTime() const;

private:
    static int process(unsigned frames, void* self);
    static int onXrun(void* self);

    std::string m_name;
    jack_client_t* m_client = nullptr;
    jack_port_t* m_out = nullptr;
    jack_ringbuffer_t* m_pending = nullptr;
    jack_ringbuffer_t* m_written = nullptr;  // Written records, from the server's thread
    std::uint64_t m_sent = 0;
    std::uint64_t m_taken = 0;  // of the server's thread alone
    mutable std::mutex m_xrunsLock;
    std::vector<jack_nframes_t> m_xruns;
};

}  // namespace tonarika::test
