#include "JackMidi.h"

// system
#include <dlfcn.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <sys/eventfd.h>
#include <unistd.h>

// std
#include <cerrno>
#include <cstring>

namespace tonarika {

namespace {

// libjack writes its own errors to stderr ("Cannot connect to server socket"): the caller
// says why in one line of its own instead.
void quietJack(const char*) {}

std::string clientOf(const std::string& port)
{
    return port.substr(0, port.find(':'));
}

void wake(int descriptor)
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(descriptor, &one, sizeof one);
}

}  // namespace

std::unique_ptr<JackMidi> JackMidi::open(const std::string& client, const std::string& port, Listener& listener,
                                         std::string* why)
{
    jack_set_error_function(&quietJack);
    jack_set_info_function(&quietJack);
    jack_status_t status{};
    jack_client_t* opened = jack_client_open(client.c_str(), JackNoStartServer, &status);
    if (!opened) {
        *why = (status & JackServerFailed) ? "no JACK server is running" : "the JACK server refused a client";
        return nullptr;
    }
    std::unique_ptr<JackMidi> midi(new JackMidi(opened, listener));
    if (!port.empty()) {
        midi->m_input = jack_port_register(opened, port.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        if (!midi->m_input) {
            *why = "the JACK server refused the port " + port;
            return nullptr;
        }
        jack_set_process_callback(opened, &JackMidi::process, midi.get());
    }
    jack_set_port_registration_callback(opened, &JackMidi::portRegistered, midi.get());
    jack_on_shutdown(opened, &JackMidi::shutDown, midi.get());
    if (jack_activate(opened) != 0) {
        *why = "the JACK server did not activate a client";
        return nullptr;
    }
    // The keyboards there are already.
    midi->handle();
    return midi;
}

JackMidi::JackMidi(_jack_client* client, Listener& listener)
    : m_client(client)
    , m_listener(listener)
    , m_news(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
}

JackMidi::~JackMidi()
{
    jack_client_close(m_client);
    if (m_news >= 0)
        ::close(m_news);
}

std::vector<std::string> JackMidi::keyboards() const
{
    const std::lock_guard lock(m_mutex);
    return {m_keyboards.begin(), m_keyboards.end()};
}

std::string JackMidi::description() const
{
    const auto frames = jack_get_buffer_size(m_client);
    const auto rate = jack_get_sample_rate(m_client);
    // pw-jack puts PipeWire's libjack in front of the system's: where the symbol comes from tells.
    Dl_info info{};
    const bool pipewire = dladdr(reinterpret_cast<void*>(&jack_client_open), &info) && info.dli_fname
                          && std::strstr(info.dli_fname, "pipewire") != nullptr;
    char steps[32];
    std::snprintf(steps, sizeof steps, "%.1f", rate ? 1000.0 * frames / rate : 0.0);
    return std::string(pipewire ? "PipeWire's JACK" : "JACK") + " is open, as "
           + (m_input ? std::string(jack_port_name(m_input)) : std::string(jack_get_client_name(m_client))) + ": a period of "
           + std::to_string(frames) + " frames at " + std::to_string(rate) + " Hz, so messages arrive on " + steps + " ms steps";
}

std::set<std::string> JackMidi::outputs() const
{
    std::set<std::string> names;
    const std::string own = jack_get_client_name(m_client);
    if (const char** ports = jack_get_ports(m_client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput)) {
        for (const char** port = ports; *port; ++port) {
            const std::string name = *port;
            if (clientOf(name) != own && name.find("Midi Through") == std::string::npos)
                names.insert(name);
        }
        jack_free(ports);
    }
    return names;
}

void JackMidi::handle()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(m_news, &count, sizeof count);
    // A port came or went: the outputs now against the keyboards known. Its keyboards went
    // with a server that went away: on the next server they are new again.
    const std::set<std::string> listed = m_shutDown ? std::set<std::string>{} : outputs();
    std::set<std::string> now = listed;
    std::vector<std::string> gone;
    {
        const std::lock_guard lock(m_mutex);
        // What went and is no longer listed needs remembering no more.
        std::erase_if(m_going, [&](const std::string& going) { return !listed.contains(going); });
        for (const std::string& going : m_going)
            now.erase(going);
        for (auto known = m_keyboards.begin(); known != m_keyboards.end();) {
            if (now.contains(*known)) {
                ++known;
                continue;
            }
            gone.push_back(*known);
            known = m_keyboards.erase(known);
        }
    }
    for (const std::string& name : gone)
        m_listener.keyboardGone(name);
    // Every output is connected again, which costs nothing where it is connected: a
    // keyboard unplugged and plugged back before its news was taken keeps its name but not
    // its connection.
    for (const std::string& name : now) {
        if (m_input) {
            const int error = jack_connect(m_client, name.c_str(), jack_port_name(m_input));
            // Gone between the listing and the connecting: its going is news too.
            if (error != 0 && error != EEXIST)
                continue;
        }
        bool came = false;
        {
            const std::lock_guard lock(m_mutex);
            came = m_keyboards.insert(name).second;
        }
        if (came)
            m_listener.keyboardCame(name);
    }
}

int JackMidi::process(unsigned frames, void* data)
{
    auto& self = *static_cast<JackMidi*>(data);
    // Stamped as the period comes: the reaction time runs to this moment, not to when the
    // window's thread takes it.
    const auto arrived = std::chrono::steady_clock::now();
    void* buffer = jack_port_get_buffer(self.m_input, frames);
    const std::uint32_t events = jack_midi_get_event_count(buffer);
    for (std::uint32_t i = 0; i < events; ++i) {
        jack_midi_event_t event{};
        if (jack_midi_event_get(&event, buffer, i) == 0)
            self.m_listener.message(std::span<const std::uint8_t>(event.buffer, event.size), arrived);
    }
    return 0;
}

void JackMidi::portRegistered(unsigned id, int registered, void* data)
{
    auto& self = *static_cast<JackMidi*>(data);
    // A port that goes is still listed for a while: its name, known here, says it went.
    // The news is taken on the thread that handles it: no server call may be made here.
    if (jack_port_t* port = jack_port_by_id(self.m_client, id)) {
        const std::lock_guard lock(self.m_mutex);
        if (registered)
            self.m_going.erase(jack_port_name(port));
        else
            self.m_going.insert(jack_port_name(port));
    }
    wake(self.m_news);
}

void JackMidi::shutDown(void* data)
{
    auto& self = *static_cast<JackMidi*>(data);
    self.m_shutDown = true;
    wake(self.m_news);
}

}  // namespace tonarika
