#include "MidiMessages.h"

namespace tonarika {

namespace {

constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kSustain = 64;

}  // namespace

std::optional<MidiCommand> MidiGate::take(std::span<const std::uint8_t> message, Clock::time_point arrived)
{
    // A channel message: a status byte and two data bytes below 0x80.
    if (message.size() != 3 || message[1] >= 0x80 || message[2] >= 0x80)
        return std::nullopt;
    const std::uint8_t type = message[0] & 0xF0;
    if (type == kNoteOn && message[2] > 0) {
        // Within the span of the note that answered: part of its chord.
        if (m_answered && arrived - *m_answered < kChordSpan)
            return std::nullopt;
        m_answered = arrived;
        return MidiCommand{MidiCommand::Kind::Note, NoteIndex(kKeyboardOrder[message[1] % 12])};
    }
    if (type == kControlChange && message[1] == kSustain) {
        const bool down = message[2] >= 64;
        const bool pressed = down && !m_pedalDown;
        m_pedalDown = down;
        if (pressed)
            return MidiCommand{MidiCommand::Kind::Listen, 0};
    }
    return std::nullopt;
}

}  // namespace tonarika
