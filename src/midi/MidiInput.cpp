#include "MidiInput.h"

// own
#include "AlsaPorts.h"
#include "JackPorts.h"

// Qt
#include <QLoggingCategory>

// RtMidi
#include <RtMidi.h>

// std
#include <algorithm>
#include <span>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcMidi, "tonarika.midi", QtInfoMsg)

// The inputs whose JACK server went away. RtMidi closes its port as it is destroyed,
// and libjack crashes unregistering a port of a client whose server is gone: they are
// kept, reachable, until the process ends.
void keepForever(std::unique_ptr<RtMidiIn> input)
{
    static std::mutex mutex;
    static std::vector<std::unique_ptr<RtMidiIn>>* kept = new std::vector<std::unique_ptr<RtMidiIn>>;
    const std::lock_guard lock(mutex);
    kept->push_back(std::move(input));
}

QString text(const std::string& text)
{
    return QString::fromStdString(text);
}

// RtMidi's own warnings go to stderr through std::cerr: they go to our category instead.
void rtMidiError(RtMidiError::Type, const std::string& message, void*)
{
    qCWarning(lcMidi) << "RtMidi:" << text(message);
}

}  // namespace

MidiInput::MidiInput(MidiQueue& queue, Options options)
    : m_queue(queue)
    , m_options(options)
{
}

MidiInput::~MidiInput()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    // The input first: its thread may still hand a message to the queue.
    m_in.reset();
    m_ports.reset();
}

void MidiInput::start()
{
    if (!m_thread.joinable())
        m_thread = std::thread(&MidiInput::run, this);
}

MidiInput::System MidiInput::system() const
{
    const std::lock_guard lock(m_mutex);
    return m_system;
}

std::vector<std::string> MidiInput::keyboards() const
{
    const std::lock_guard lock(m_mutex);
    return m_keyboards;
}

void MidiInput::run()
{
    // Where no system opens (a JACK server started later, one too busy to take a client
    // at once), it is tried again every few looks; only the first failure is told.
    bool told = false;
    int untilRetry = 0;
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        lock.unlock();
        if (m_ports) {
            look();
        } else if (--untilRetry <= 0) {
            if (!open(told))
                told = true;
            untilRetry = 5;
        }
        lock.lock();
        m_wake.wait_for(lock, m_options.lookEvery, [this] { return m_stopping; });
    }
}

std::unique_ptr<RtMidiIn> MidiInput::openInput(int api, const char* client, std::string* why)
{
    try {
        auto in = std::make_unique<RtMidiIn>(static_cast<RtMidi::Api>(api), client);
        in->setErrorCallback(&rtMidiError, nullptr);
        in->setCallback(&MidiInput::received, this);
        in->ignoreTypes(true, true, true);
        in->openVirtualPort(kPort);
        return in;
    } catch (const RtMidiError& error) {
        *why = error.getMessage();
        return nullptr;
    }
}

bool MidiInput::open(bool quiet)
{
    std::string alsaWhy = "not tried";
    std::string jackWhy;
    System system = System::None;
    if (m_options.alsa) {
        if (auto alsa = AlsaPorts::open(&alsaWhy)) {
            m_in = openInput(RtMidi::LINUX_ALSA, kAlsaClient, &alsaWhy);
            if (m_in && alsa->findInput(kAlsaClient, kPort)) {
                m_ports = std::move(alsa);
                system = System::Alsa;
                qCInfo(lcMidi).noquote() << "MIDI: the ALSA sequencer is open, as client" << kAlsaClient << "port" << kPort;
            } else if (m_in) {
                alsaWhy = "its input port could not be found";
            }
        }
    }
    if (!m_ports) {
        if (auto jack = JackPorts::open(std::string(kJackClient) + "-watch", &jackWhy)) {
            m_in = openInput(RtMidi::UNIX_JACK, kJackClient, &jackWhy);
            if (m_in && jack->findInput(kJackClient, kPort)) {
                const auto period = jack->period();
                const double ms = period.rate ? 1000.0 * period.frames / period.rate : 0.0;
                qCInfo(lcMidi).noquote()
                    << QStringLiteral("MIDI: the ALSA sequencer cannot be opened (%1); %2 is open, as %3: "
                                      "a period of %4 frames at %5 Hz, so messages arrive on %6 ms steps")
                           .arg(text(alsaWhy), period.pipewire ? QStringLiteral("PipeWire's JACK") : QStringLiteral("JACK"),
                                text(jack->input()))
                           .arg(period.frames)
                           .arg(period.rate)
                           .arg(ms, 0, 'f', 1);
                m_ports = std::move(jack);
                system = System::Jack;
            } else if (m_in) {
                jackWhy = "its input port could not be found";
            }
        }
    }
    if (!m_ports) {
        m_in.reset();
        if (!quiet)
            qCInfo(lcMidi).noquote() << QStringLiteral("MIDI: no keyboard can answer: the ALSA sequencer cannot be opened "
                                                       "(%1), and JACK cannot either (%2)")
                                            .arg(text(alsaWhy), text(jackWhy));
    }
    const std::lock_guard lock(m_mutex);
    m_system = system;
    return system != System::None;
}

void MidiInput::look()
{
    if (!m_ports->alive()) {
        qCWarning(lcMidi) << "MIDI: the JACK server went away; the game looks for it again every few seconds";
        keepForever(std::move(m_in));
        // Its keyboards went with it: on the next server they are new again.
        for (const std::string& gone : m_watch.look({}).gone)
            qCInfo(lcMidi).noquote() << "MIDI: keyboard gone:" << text(gone);
        const std::lock_guard lock(m_mutex);
        m_ports.reset();
        m_keyboards.clear();
        return;
    }
    const auto sources = m_ports->sources();
    const auto change = m_watch.look(sources);
    for (const std::string& gone : change.gone)
        qCInfo(lcMidi).noquote() << "MIDI: keyboard gone:" << text(gone);
    // Every look connects every output again, which costs nothing where it is connected:
    // a keyboard unplugged and plugged back between two looks keeps its name but not its
    // connection.
    for (const std::string& source : sources) {
        const bool connected = m_ports->connect(source);
        if (std::find(change.appeared.begin(), change.appeared.end(), source) == change.appeared.end())
            continue;
        if (connected) {
            m_keyboardCame = true;
            qCInfo(lcMidi).noquote() << "MIDI: keyboard connected:" << text(source);
        } else {
            // Gone between the listing and the connecting: it is looked at again next time.
            m_watch.forget(source);
        }
    }
    if (const auto dropped = m_queue.takeDropped())
        qCWarning(lcMidi) << "MIDI: a flood of messages:" << dropped << "commands dropped";
    const std::vector<std::string> keyboards(m_watch.known().begin(), m_watch.known().end());
    const std::lock_guard lock(m_mutex);
    m_keyboards = keyboards;
}

void MidiInput::received(double, std::vector<unsigned char>* message, void* self)
{
    // Stamped here, as it arrives: the reaction time runs to this moment, not to when the
    // window's thread takes it.
    const auto arrived = std::chrono::steady_clock::now();
    auto* input = static_cast<MidiInput*>(self);
    if (input->m_keyboardCame.exchange(false))
        input->m_gate = MidiGate{};
    if (const auto command = input->m_gate.take(std::span<const std::uint8_t>(message->data(), message->size()), arrived))
        input->m_queue.put({*command, arrived});
}

}  // namespace tonarika
