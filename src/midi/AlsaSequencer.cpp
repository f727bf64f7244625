#include "AlsaSequencer.h"

// system
#include <alsa/asoundlib.h>

// std
#include <array>
#include <cerrno>

namespace tonarika {

namespace {

// alsa-lib writes its own errors to stderr ("ALSA lib seq_hw.c: ... failed"): the caller
// says why in one line of its own instead.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::unique_ptr<AlsaSequencer> AlsaSequencer::open(const std::string& client, const std::string& port,
                                                   Listener& listener, std::string* why)
{
    snd_lib_error_set_handler(&quietAlsa);
    snd_seq_t* seq = nullptr;
    if (const int error = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK); error < 0) {
        *why = snd_strerror(error);
        return nullptr;
    }
    std::unique_ptr<AlsaSequencer> sequencer(new AlsaSequencer(seq, listener));
    snd_seq_set_client_name(seq, client.c_str());
    sequencer->m_clientName = client;
    sequencer->m_input = !port.empty();
    sequencer->m_portName = port.empty() ? "keyboards" : port;
    const unsigned caps = sequencer->m_input ? SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE
                                             : SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT;
    sequencer->m_port = snd_seq_create_simple_port(seq, sequencer->m_portName.c_str(), caps,
                                                   SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (sequencer->m_port < 0) {
        *why = std::string("its port cannot be made: ") + snd_strerror(sequencer->m_port);
        return nullptr;
    }
    // The system's news of clients and ports that come and go, to our port.
    if (const int error = snd_seq_connect_from(seq, sequencer->m_port, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
        error < 0) {
        *why = std::string("the system's announcements cannot be followed: ") + snd_strerror(error);
        return nullptr;
    }
    pollfd descriptor{};
    if (snd_seq_poll_descriptors(seq, &descriptor, 1, POLLIN) != 1) {
        *why = "it has no descriptor to wait on";
        return nullptr;
    }
    sequencer->m_descriptor = descriptor.fd;
    // The keyboards there are already.
    snd_seq_client_info_t* clientInfo = nullptr;
    snd_seq_port_info_t* portInfo = nullptr;
    snd_seq_client_info_alloca(&clientInfo);
    snd_seq_port_info_alloca(&portInfo);
    snd_seq_client_info_set_client(clientInfo, -1);
    while (snd_seq_query_next_client(seq, clientInfo) >= 0) {
        const int id = snd_seq_client_info_get_client(clientInfo);
        snd_seq_port_info_set_client(portInfo, id);
        snd_seq_port_info_set_port(portInfo, -1);
        while (snd_seq_query_next_port(seq, portInfo) >= 0)
            sequencer->consider({id, snd_seq_port_info_get_port(portInfo)});
    }
    return sequencer;
}

AlsaSequencer::AlsaSequencer(_snd_seq* seq, Listener& listener)
    : m_seq(seq)
    , m_listener(listener)
{
}

AlsaSequencer::~AlsaSequencer()
{
    snd_seq_close(m_seq);
}

std::vector<std::string> AlsaSequencer::keyboards() const
{
    const std::lock_guard lock(m_mutex);
    std::vector<std::string> names;
    for (const auto& [address, name] : m_keyboards)
        names.push_back(name);
    return names;
}

std::string AlsaSequencer::description() const
{
    return "the ALSA sequencer is open, as client " + m_clientName + " port " + m_portName;
}

void AlsaSequencer::consider(Address address)
{
    const auto [client, port] = address;
    if (client == SND_SEQ_CLIENT_SYSTEM || client == snd_seq_client_id(m_seq))
        return;
    snd_seq_client_info_t* clientInfo = nullptr;
    snd_seq_port_info_t* portInfo = nullptr;
    snd_seq_client_info_alloca(&clientInfo);
    snd_seq_port_info_alloca(&portInfo);
    if (snd_seq_get_any_client_info(m_seq, client, clientInfo) < 0 || snd_seq_get_any_port_info(m_seq, client, port, portInfo) < 0)
        return;
    const std::string clientName = snd_seq_client_info_get_name(clientInfo);
    const unsigned caps = snd_seq_port_info_get_capability(portInfo);
    const unsigned readable = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
    if (clientName == "Midi Through" || (caps & readable) != readable || (caps & SND_SEQ_PORT_CAP_NO_EXPORT)
        || !(snd_seq_port_info_get_type(portInfo) & SND_SEQ_PORT_TYPE_MIDI_GENERIC))
        return;
    // Already connected (by the player, or before) is connected.
    if (m_input) {
        const int error = snd_seq_connect_from(m_seq, m_port, client, port);
        if (error < 0 && error != -EBUSY)
            return;
    }
    const std::string name = clientName + ":" + snd_seq_port_info_get_name(portInfo);
    {
        const std::lock_guard lock(m_mutex);
        if (!m_keyboards.emplace(address, name).second)
            return;
    }
    m_listener.keyboardCame(name);
}

void AlsaSequencer::gone(Address address)
{
    std::string name;
    {
        const std::lock_guard lock(m_mutex);
        const auto known = m_keyboards.find(address);
        if (known == m_keyboards.end())
            return;
        name = known->second;
        m_keyboards.erase(known);
    }
    m_listener.keyboardGone(name);
}

void AlsaSequencer::goneClient(int client)
{
    std::vector<Address> ports;
    {
        const std::lock_guard lock(m_mutex);
        for (const auto& [address, name] : m_keyboards) {
            if (address.first == client)
                ports.push_back(address);
        }
    }
    for (const Address& address : ports)
        gone(address);
}

void AlsaSequencer::handle()
{
    for (;;) {
        snd_seq_event_t* event = nullptr;
        const int left = snd_seq_event_input(m_seq, &event);
        if (left == -ENOSPC)
            continue;  // the input overran: what came after is read on
        if (left < 0 || !event)
            return;
        // Stamped as it is read: the reaction time runs to this moment.
        const auto arrived = std::chrono::steady_clock::now();
        const auto channel = static_cast<std::uint8_t>(event->data.note.channel & 0x0F);
        switch (event->type) {
        case SND_SEQ_EVENT_PORT_START: consider({event->data.addr.client, event->data.addr.port}); break;
        case SND_SEQ_EVENT_PORT_EXIT: gone({event->data.addr.client, event->data.addr.port}); break;
        case SND_SEQ_EVENT_CLIENT_EXIT: goneClient(event->data.addr.client); break;
        case SND_SEQ_EVENT_NOTEON:
        case SND_SEQ_EVENT_NOTEOFF: {
            const std::array<std::uint8_t, 3> bytes{
                std::uint8_t((event->type == SND_SEQ_EVENT_NOTEON ? 0x90 : 0x80) | channel),
                std::uint8_t(event->data.note.note & 0x7F), std::uint8_t(event->data.note.velocity & 0x7F)};
            m_listener.message(bytes, arrived);
            break;
        }
        case SND_SEQ_EVENT_CONTROLLER: {
            const std::array<std::uint8_t, 3> bytes{std::uint8_t(0xB0 | (event->data.control.channel & 0x0F)),
                                                    std::uint8_t(event->data.control.param & 0x7F),
                                                    std::uint8_t(event->data.control.value & 0x7F)};
            m_listener.message(bytes, arrived);
            break;
        }
        default: break;  // no answer and no news: a clock, a system message
        }
    }
}

}  // namespace tonarika
