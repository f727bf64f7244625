#include "MidiInput.h"

// Qt
#include <QLoggingCategory>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcMidi, "tonarika.midi", QtInfoMsg)

QString text(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

MidiInput::MidiInput(MidiQueue& queue, Options options)
    : m_queue(queue)
    , m_watcher({kAlsaClient, kJackClient, kPort, options.alsa}, *this)
{
}

void MidiInput::message(std::span<const std::uint8_t> bytes, std::chrono::steady_clock::time_point arrived)
{
    if (m_keyboardCame.exchange(false))
        m_gate = MidiGate{};
    const auto command = m_gate.take(bytes, arrived);
    if (!command || m_queue.put({*command, arrived}))
        return;
    // A flood: told by the watcher's thread, once for as many as it finds dropped.
    if (!m_dropping.exchange(true))
        m_watcher.wake();
}

void MidiInput::woken()
{
    m_dropping = false;
    if (const auto dropped = m_queue.takeDropped())
        qCWarning(lcMidi) << "MIDI: a flood of messages:" << dropped << "commands dropped";
}

void MidiInput::keyboardCame(const std::string& keyboard)
{
    m_keyboardCame = true;
    qCInfo(lcMidi).noquote() << "MIDI: keyboard connected:" << text(keyboard);
}

void MidiInput::keyboardGone(const std::string& keyboard)
{
    qCInfo(lcMidi).noquote() << "MIDI: keyboard gone:" << text(keyboard);
}

void MidiInput::opened(System system, const std::string& description, const std::string& alsaWhy)
{
    if (system == System::Alsa)
        qCInfo(lcMidi).noquote() << "MIDI:" << text(description);
    else
        qCInfo(lcMidi).noquote() << QStringLiteral("MIDI: the ALSA sequencer cannot be opened (%1); %2")
                                        .arg(text(alsaWhy), text(description));
}

void MidiInput::noneOpened(const std::string& alsaWhy, const std::string& jackWhy)
{
    qCInfo(lcMidi).noquote() << QStringLiteral("MIDI: no keyboard can answer: the ALSA sequencer cannot be opened "
                                               "(%1), and JACK cannot either (%2)")
                                    .arg(text(alsaWhy), text(jackWhy));
}

void MidiInput::wentAway()
{
    qCWarning(lcMidi) << "MIDI: the JACK server went away; the game looks for it again every few seconds";
}

}  // namespace tonarika
