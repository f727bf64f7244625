#pragma once

// own
#include "GameContext.h"
#include "Session.h"

namespace tonarika {

// Practice: nothing is asked and nothing counted; every key pressed plays its note, the
// middle piano octave's, and is named.
class PracticeSession : public Session {
public:
    explicit PracticeSession(GameContext& context);

    void begin() override;
    void listen() override {}
    void answer(const Answer& answer) override;
    void fill(GameState&) const override {}

private:
    GameContext& m_context;
};

}  // namespace tonarika
