#include "JackPorts.h"

// system
#include <dlfcn.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <unistd.h>

// std
#include <cerrno>
#include <cstring>

namespace tonarika {

namespace {

// libjack writes its own errors to stderr ("Cannot connect to server socket"): the caller
// says why in one line of its own instead.
void quietJack(const char*) {}

// The names in a listing that libjack allocated, and the listing freed.
std::vector<std::string> takeNames(const char** ports)
{
    std::vector<std::string> names;
    if (!ports)
        return names;
    for (const char** port = ports; *port; ++port)
        names.emplace_back(*port);
    jack_free(ports);
    return names;
}

std::string clientOf(const std::string& port)
{
    return port.substr(0, port.find(':'));
}

}  // namespace

std::unique_ptr<JackPorts> JackPorts::open(const std::string& clientName, std::string* why)
{
    jack_set_error_function(&quietJack);
    jack_set_info_function(&quietJack);
    jack_status_t status{};
    jack_client_t* client = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (!client) {
        if (why)
            *why = (status & JackServerFailed) ? "no JACK server is running" : "the JACK server refused a client";
        return nullptr;
    }
    auto ports = std::unique_ptr<JackPorts>(new JackPorts(client));
    if (jack_activate(client) != 0) {
        if (why)
            *why = "the JACK server did not activate a client";
        return nullptr;
    }
    return ports;
}

JackPorts::JackPorts(_jack_client* client)
    : m_client(client)
{
    // The server going away leaves this client dead: every later call would fail.
    jack_on_shutdown(
        m_client, [](void* alive) { static_cast<std::atomic<bool>*>(alive)->store(false); }, m_alive.get());
}

JackPorts::~JackPorts()
{
    jack_client_close(m_client);
}

bool JackPorts::findInput(const std::string& client, const std::string& port)
{
    const std::string own = jack_get_client_name(m_client);
    std::string fallback;
    for (const std::string& name : takeNames(jack_get_ports(m_client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput))) {
        const std::string owner = clientOf(name);
        if (owner == own || name.substr(owner.size() + 1) != port || owner.rfind(client, 0) != 0)
            continue;
        // A second game's input has the same port name: ours is the one of this process.
        if (jack_get_client_pid(owner.c_str()) == ::getpid()) {
            m_input = name;
            return true;
        }
        // A server that does not tell a client's process (PipeWire's) still has the exact name.
        if (owner == client)
            fallback = name;
    }
    m_input = fallback;
    return !m_input.empty();
}

JackPorts::Period JackPorts::period() const
{
    Period period{jack_get_buffer_size(m_client), jack_get_sample_rate(m_client), false};
    // pw-jack puts PipeWire's libjack in front of the system's: where the symbol comes from tells.
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&jack_client_open), &info) && info.dli_fname)
        period.pipewire = std::strstr(info.dli_fname, "pipewire") != nullptr;
    return period;
}

std::vector<std::string> JackPorts::sources()
{
    std::vector<std::string> names;
    if (!alive())
        return names;
    const std::string inputClient = clientOf(m_input);
    for (std::string& name : takeNames(jack_get_ports(m_client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput))) {
        if (clientOf(name) == inputClient || name.find("Midi Through") != std::string::npos)
            continue;
        names.push_back(std::move(name));
    }
    return names;
}

bool JackPorts::connect(const std::string& source)
{
    if (!alive() || m_input.empty())
        return false;
    const int error = jack_connect(m_client, source.c_str(), m_input.c_str());
    return error == 0 || error == EEXIST;
}

}  // namespace tonarika
