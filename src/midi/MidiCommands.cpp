#include "MidiCommands.h"

namespace tonarika {

MidiCommands::MidiCommands(MidiQueue& queue, QObject* parent)
    : QObject(parent)
    , m_queue(queue)
    , m_notifier(queue.wakeDescriptor(), QSocketNotifier::Read)
{
    connect(&m_notifier, &QSocketNotifier::activated, this, &MidiCommands::takeAll);
}

void MidiCommands::takeAll()
{
    // Cleared before taking: a command put meanwhile wakes the loop again.
    m_queue.acknowledge();
    while (const auto entry = m_queue.take()) {
        if (!m_enabled)
            continue;
        if (entry->command.kind == MidiCommand::Kind::Listen)
            emit listenPressed();
        else
            emit notePressed(entry->command.note, entry->arrived);
    }
}

}  // namespace tonarika
