#pragma once

// own
#include "GameContext.h"
#include "PendingQuestion.h"
#include "PitchTest.h"
#include "Session.h"

// std
#include <vector>

namespace tonarika {

// The test of absolute pitch: 72 items, each heard once after the guard's tones, answered
// with any of the twelve keys, nothing shown of an answer until the result. The A4 the
// test began at holds to its end; the settings' timbres, octaves and notes do not apply,
// and a change to them draws nothing. The score file never hears of it.
class PitchTestSession : public Session {
public:
    explicit PitchTestSession(GameContext& context);

    void begin() override;
    void end() override;
    void listen() override;
    void answer(const Answer& answer) override;
    void fill(GameState& state) const override;

private:
    GameContext& m_context;
    PendingQuestion m_pending;
    std::vector<NoteSound> m_items;
    std::vector<PitchTestAnswer> m_answers;
    int m_a4 = kDefaultA4;
};

}  // namespace tonarika
