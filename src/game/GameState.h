#pragma once

// own
#include "Mode.h"
#include "Note.h"
#include "Rules.h"

// std
#include <cstdint>
#include <optional>
#include <string>

namespace tonarika {

// The variables of the main window, as the game holds them now; none survives the program.
struct GameState {
    std::optional<NoteIndex> curNote;  // the pending question; empty when none is pending
    std::uint8_t prevNote = 0;         // the note drawn last; kNoPrevNote after a clear
    std::string wavFile;               // played last
    std::string noteName;              // of the note played last
    std::uint32_t questionCount = 0;
    std::uint32_t missCount = 0;       // questions answered wrongly at least once
    bool settled = false;              // answered right, or its miss already counted
    bool practiceMode = false;
    Mode mode = Mode::Easy;            // the mode whose menu item carries the check mark
};

}  // namespace tonarika
