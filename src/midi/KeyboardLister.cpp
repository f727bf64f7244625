#include "KeyboardLister.h"

// own
#include "AlsaPorts.h"
#include "JackPorts.h"

namespace tonarika {

KeyboardLister::KeyboardLister(std::string jackClient, std::chrono::milliseconds lookEvery)
    : m_jackClient(std::move(jackClient))
    , m_lookEvery(lookEvery)
{
}

KeyboardLister::~KeyboardLister()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void KeyboardLister::start()
{
    if (!m_thread.joinable())
        m_thread = std::thread(&KeyboardLister::run, this);
}

std::vector<std::string> KeyboardLister::keyboards() const
{
    const std::lock_guard lock(m_mutex);
    return m_keyboards;
}

bool KeyboardLister::systemOpen() const
{
    const std::lock_guard lock(m_mutex);
    return m_open;
}

void KeyboardLister::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        lock.unlock();
        if (!m_ports || !m_ports->alive()) {
            std::string why;
            m_ports = AlsaPorts::open(&why);
            if (!m_ports)
                m_ports = JackPorts::open(m_jackClient, &why);
        }
        const auto keyboards = m_ports ? m_ports->sources() : std::vector<std::string>{};
        lock.lock();
        m_open = m_ports != nullptr;
        m_keyboards = keyboards;
        m_wake.wait_for(lock, m_lookEvery, [this] { return m_stopping; });
    }
}

}  // namespace tonarika
