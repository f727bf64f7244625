#pragma once

// own
#include "MidiMessages.h"

// std
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

namespace tonarika {

// The commands a keyboard gives, from the thread its messages arrive on to the window's,
// each with the moment its message arrived. One thread puts, one takes; neither ever
// waits, so that a flood never stalls the MIDI thread or the window: where the queue is
// full, the command is dropped and counted.
class MidiQueue {
public:
    struct Entry {
        MidiCommand command;
        std::chrono::steady_clock::time_point arrived;
    };
    static constexpr std::size_t kCapacity = 256;

    MidiQueue();
    ~MidiQueue();
    MidiQueue(const MidiQueue&) = delete;
    MidiQueue& operator=(const MidiQueue&) = delete;

    // On the MIDI thread: false where it was dropped. Wakes the taker's descriptor.
    bool put(const Entry& entry);
    // On the window thread: the next entry, or nothing.
    std::optional<Entry> take();
    // How many were dropped since the last call.
    std::uint64_t takeDropped() { return m_dropped.exchange(0); }
    // Readable while entries wait (an eventfd): for the window's event loop to watch.
    int wakeDescriptor() const { return m_wake; }
    // Clears the descriptor once its wake has been seen.
    void acknowledge();

private:
    std::array<Entry, kCapacity> m_entries{};
    std::atomic<std::size_t> m_head{0};  // next to take
    std::atomic<std::size_t> m_tail{0};  // next to put
    std::atomic<std::uint64_t> m_dropped{0};
    int m_wake = -1;
};

}  // namespace tonarika
