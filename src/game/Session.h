#pragma once

// own
#include "Answer.h"
#include "GameState.h"
#include "ScoreLog.h"

// std
#include <optional>

namespace tonarika {

// What a mode does with the window's operations: a run of Easy or Hard, Practice, or the
// test of absolute pitch. The game hands each operation to the session of its mode.
class Session {
public:
    virtual ~Session() = default;

    // The mode is chosen: its captions, its keys and its buttons, and what it asks first.
    virtual void begin() = 0;
    // Another mode is chosen: what only this one showed goes.
    virtual void end() {}
    // Listen.
    virtual void listen() = 0;
    // A key pressed: on screen, a letter key or a MIDI keyboard's.
    virtual void answer(const Answer& answer) = 0;
    // Clear: the run begins again.
    virtual void clear() {}
    // The settings file changed.
    virtual void settingsChanged() {}
    // The record of the run so far, or nothing where there is nothing to record.
    virtual std::optional<ScoreRun> record() const { return std::nullopt; }
    // Its part of the game's variables.
    virtual void fill(GameState& state) const = 0;
};

}  // namespace tonarika
