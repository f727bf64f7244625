#include "MidiQueue.h"

// system
#include <sys/eventfd.h>
#include <unistd.h>

// std
#include <system_error>

namespace tonarika {

MidiQueue::MidiQueue()
    : m_wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (m_wake < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

MidiQueue::~MidiQueue()
{
    ::close(m_wake);
}

bool MidiQueue::put(const Entry& entry)
{
    const std::size_t tail = m_tail.load(std::memory_order_relaxed);
    if (tail - m_head.load(std::memory_order_acquire) == kCapacity) {
        m_dropped.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    m_entries[tail % kCapacity] = entry;
    m_tail.store(tail + 1, std::memory_order_release);
    // A write to an eventfd never blocks with EFD_NONBLOCK; a counter already at its
    // maximum is awake anyway.
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto wrote = ::write(m_wake, &one, sizeof one);
    return true;
}

std::optional<MidiQueue::Entry> MidiQueue::take()
{
    const std::size_t head = m_head.load(std::memory_order_relaxed);
    if (head == m_tail.load(std::memory_order_acquire))
        return std::nullopt;
    const Entry entry = m_entries[head % kCapacity];
    m_head.store(head + 1, std::memory_order_release);
    return entry;
}

void MidiQueue::acknowledge()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(m_wake, &count, sizeof count);
}

}  // namespace tonarika
