#include "MidiWatcher.h"

// own
#include "AlsaSequencer.h"
#include "JackMidi.h"

// system
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

// std
#include <array>

namespace tonarika {

MidiWatcher::MidiWatcher(Options options, Observer& observer)
    : m_options(std::move(options))
    , m_observer(observer)
    , m_wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
}

MidiWatcher::~MidiWatcher()
{
    m_stopping = true;
    wake();
    if (m_thread.joinable())
        m_thread.join();
    // The system first: its threads may still hand a message on.
    m_system.reset();
    ::close(m_wake);
}

void MidiWatcher::start()
{
    if (!m_thread.joinable())
        m_thread = std::thread(&MidiWatcher::run, this);
}

void MidiWatcher::wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(m_wake, &one, sizeof one);
}

MidiWatcher::System MidiWatcher::system() const
{
    const std::lock_guard lock(m_mutex);
    return m_kind;
}

std::vector<std::string> MidiWatcher::keyboards() const
{
    const std::lock_guard lock(m_mutex);
    return m_system ? m_system->keyboards() : std::vector<std::string>{};
}

bool MidiWatcher::open(bool quiet)
{
    std::string alsaWhy = "not tried";
    std::string jackWhy;
    std::unique_ptr<MidiSystem> system;
    System kind = System::None;
    if (m_options.alsa) {
        system = AlsaSequencer::open(m_options.alsaClient, m_options.port, m_observer, &alsaWhy);
        kind = System::Alsa;
    }
    if (!system) {
        system = JackMidi::open(m_options.jackClient, m_options.port, m_observer, &jackWhy);
        kind = System::Jack;
    }
    if (!system) {
        if (!quiet)
            m_observer.noneOpened(alsaWhy, jackWhy);
        return false;
    }
    const std::string description = system->description();
    {
        const std::lock_guard lock(m_mutex);
        m_system = std::move(system);
        m_kind = kind;
    }
    m_observer.opened(kind, description, alsaWhy);
    return true;
}

void MidiWatcher::run()
{
    // Only the first failure to open is told.
    bool told = false;
    while (!m_stopping) {
        if (!m_system) {
            told = !open(told) || told;
        } else if (!m_system->alive()) {
            m_system->handle();  // its keyboards go with it
            m_observer.wentAway();
            const std::lock_guard lock(m_mutex);
            m_system.reset();
            m_kind = System::None;
            continue;
        }
        // Until the system has news, or the thread is woken; without one, until it is
        // tried again.
        std::array<pollfd, 2> waits{{{m_wake, POLLIN, 0}, {m_system ? m_system->descriptor() : -1, POLLIN, 0}}};
        const int timeout = m_system ? -1 : int(std::chrono::milliseconds(kRetry).count());
        if (::poll(waits.data(), waits.size(), timeout) <= 0)
            continue;
        if (waits[0].revents) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto read = ::read(m_wake, &count, sizeof count);
            m_observer.woken();
        }
        if (m_system && waits[1].revents)
            m_system->handle();
    }
}

}  // namespace tonarika
