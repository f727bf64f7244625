#include "JackKeyboard.h"

// system
#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

// std
#include <stdexcept>

namespace tonarika::test {

JackKeyboard::JackKeyboard(const std::string& name)
    : m_name(name)
{
    m_client = jack_client_open(name.c_str(), static_cast<jack_options_t>(JackNoStartServer | JackUseExactName), nullptr);
    if (!m_client)
        throw std::runtime_error("no JACK server for the keyboard " + name);
    m_out = jack_port_register(m_client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    m_pending = jack_ringbuffer_create(1 << 20);
    m_written = jack_ringbuffer_create(1 << 20);
    jack_set_process_callback(m_client, &JackKeyboard::process, this);
    jack_set_xrun_callback(m_client, &JackKeyboard::onXrun, this);
    if (!m_out || jack_activate(m_client) != 0) {
        jack_client_close(m_client);
        jack_ringbuffer_free(m_pending);
        jack_ringbuffer_free(m_written);
        throw std::runtime_error("the keyboard " + name + " could not be made");
    }
}

JackKeyboard::~JackKeyboard()
{
    jack_client_close(m_client);
    jack_ringbuffer_free(m_pending);
    jack_ringbuffer_free(m_written);
}

bool JackKeyboard::send(const std::vector<std::uint8_t>& message)
{
    // Each message as its length, then its bytes.
    const auto size = static_cast<std::uint16_t>(message.size());
    if (jack_ringbuffer_write_space(m_pending) < sizeof size + size)
        return false;
    jack_ringbuffer_write(m_pending, reinterpret_cast<const char*>(&size), sizeof size);
    jack_ringbuffer_write(m_pending, reinterpret_cast<const char*>(message.data()), size);
    ++m_sent;
    return true;
}

bool JackKeyboard::connectedTo(const std::string& port) const
{
    return jack_port_connected_to(m_out, port.c_str()) != 0;
}

std::vector<JackKeyboard::Written> JackKeyboard::takeWritten()
{
    std::vector<Written> written;
    Written one;
    while (jack_ringbuffer_read(m_written, reinterpret_cast<char*>(&one), sizeof one) == sizeof one)
        written.push_back(one);
    return written;
}

std::vector<jack_nframes_t> JackKeyboard::xruns() const
{
    const std::lock_guard lock(m_xrunsLock);
    return m_xruns;
}

jack_nframes_t JackKeyboard::frameTime() const
{
    return jack_frame_time(m_client);
}

int JackKeyboard::onXrun(void* self)
{
    // On the client's notification thread, not the server's: a lock is fine here.
    auto* keyboard = static_cast<JackKeyboard*>(self);
    const jack_nframes_t now = jack_frame_time(keyboard->m_client);
    const std::lock_guard lock(keyboard->m_xrunsLock);
    keyboard->m_xruns.push_back(now);
    return 0;
}

int JackKeyboard::process(unsigned frames, void* self)
{
    auto* keyboard = static_cast<JackKeyboard*>(self);
    void* buffer = jack_port_get_buffer(keyboard->m_out, frames);
    jack_midi_clear_buffer(buffer);
    const jack_nframes_t period = jack_last_frame_time(keyboard->m_client);
    std::uint16_t size = 0;
    while (jack_ringbuffer_peek(keyboard->m_pending, reinterpret_cast<char*>(&size), sizeof size) == sizeof size
           && jack_ringbuffer_read_space(keyboard->m_pending) >= sizeof size + size) {
        // What does not fit in this period's buffer goes in the next.
        jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, size);
        if (!event)
            break;
        jack_ringbuffer_read_advance(keyboard->m_pending, sizeof size);
        jack_ringbuffer_read(keyboard->m_pending, reinterpret_cast<char*>(event), size);
        // A record that finds no room is lost to the record alone: the message went out.
        const Written written{keyboard->m_taken++, period};
        if (jack_ringbuffer_write_space(keyboard->m_written) >= sizeof written)
            jack_ringbuffer_write(keyboard->m_written, reinterpret_cast<const char*>(&written), sizeof written);
    }
    return 0;
}

}  // namespace tonarika::test
