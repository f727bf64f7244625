#include "AlsaPorts.h"

// system
#include <alsa/asoundlib.h>
#include <unistd.h>

// std
#include <cerrno>
#include <cstdarg>

namespace tonarika {

namespace {

// alsa-lib writes its own errors to stderr ("ALSA lib seq_hw.c: ... failed"): the caller
// says why in one line of its own instead.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::unique_ptr<AlsaPorts> AlsaPorts::open(std::string* why)
{
    snd_lib_error_set_handler(&quietAlsa);
    snd_seq_t* seq = nullptr;
    if (const int error = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK); error < 0) {
        if (why)
            *why = snd_strerror(error);
        return nullptr;
    }
    snd_seq_set_client_name(seq, "Tonarika (watch)");
    return std::unique_ptr<AlsaPorts>(new AlsaPorts(seq));
}

AlsaPorts::~AlsaPorts()
{
    snd_seq_close(m_seq);
}

bool AlsaPorts::findInput(const std::string& client, const std::string& port)
{
    snd_seq_client_info_t* clientInfo = nullptr;
    snd_seq_port_info_t* portInfo = nullptr;
    snd_seq_client_info_alloca(&clientInfo);
    snd_seq_port_info_alloca(&portInfo);
    snd_seq_client_info_set_client(clientInfo, -1);
    while (snd_seq_query_next_client(m_seq, clientInfo) >= 0) {
        // A second game has a client of the same name: ours is the one of this process.
        if (client != snd_seq_client_info_get_name(clientInfo) || snd_seq_client_info_get_pid(clientInfo) != ::getpid())
            continue;
        const int id = snd_seq_client_info_get_client(clientInfo);
        snd_seq_port_info_set_client(portInfo, id);
        snd_seq_port_info_set_port(portInfo, -1);
        while (snd_seq_query_next_port(m_seq, portInfo) >= 0) {
            if (port == snd_seq_port_info_get_name(portInfo)) {
                m_input = {id, snd_seq_port_info_get_port(portInfo)};
                return true;
            }
        }
    }
    return false;
}

std::vector<std::string> AlsaPorts::sources()
{
    std::vector<std::string> names;
    m_seen.clear();
    snd_seq_client_info_t* clientInfo = nullptr;
    snd_seq_port_info_t* portInfo = nullptr;
    snd_seq_client_info_alloca(&clientInfo);
    snd_seq_port_info_alloca(&portInfo);
    const int own = snd_seq_client_id(m_seq);
    snd_seq_client_info_set_client(clientInfo, -1);
    while (snd_seq_query_next_client(m_seq, clientInfo) >= 0) {
        const int id = snd_seq_client_info_get_client(clientInfo);
        const std::string clientName = snd_seq_client_info_get_name(clientInfo);
        if (id == SND_SEQ_CLIENT_SYSTEM || id == own || id == m_input.client || clientName == "Midi Through")
            continue;
        snd_seq_port_info_set_client(portInfo, id);
        snd_seq_port_info_set_port(portInfo, -1);
        while (snd_seq_query_next_port(m_seq, portInfo) >= 0) {
            const unsigned caps = snd_seq_port_info_get_capability(portInfo);
            const unsigned readable = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
            if ((caps & readable) != readable || (caps & SND_SEQ_PORT_CAP_NO_EXPORT)
                || !(snd_seq_port_info_get_type(portInfo) & SND_SEQ_PORT_TYPE_MIDI_GENERIC))
                continue;
            std::string name = clientName + ":" + snd_seq_port_info_get_name(portInfo);
            m_seen[name] = {id, snd_seq_port_info_get_port(portInfo)};
            names.push_back(std::move(name));
        }
    }
    return names;
}

bool AlsaPorts::connect(const std::string& source)
{
    const auto found = m_seen.find(source);
    if (found == m_seen.end() || m_input.client < 0)
        return false;
    snd_seq_port_subscribe_t* subscription = nullptr;
    snd_seq_port_subscribe_alloca(&subscription);
    snd_seq_addr_t sender{static_cast<unsigned char>(found->second.client), static_cast<unsigned char>(found->second.port)};
    snd_seq_addr_t dest{static_cast<unsigned char>(m_input.client), static_cast<unsigned char>(m_input.port)};
    snd_seq_port_subscribe_set_sender(subscription, &sender);
    snd_seq_port_subscribe_set_dest(subscription, &dest);
    const int error = snd_seq_subscribe_port(m_seq, subscription);
    // Already connected (by the player, or by a look that raced a device's return) is connected.
    return error >= 0 || error == -EBUSY;
}

}  // namespace tonarika
