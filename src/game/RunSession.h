#pragma once

// own
#include "GameContext.h"
#include "PendingQuestion.h"
#include "QuestionDrawer.h"
#include "Session.h"

namespace tonarika {

// A run of Easy or Hard: Listen asks a new question or replays the pending one, the judge
// counts each question's first miss, and the run's record carries its counts.
class RunSession : public Session {
public:
    RunSession(Mode mode, GameContext& context, QuestionDrawer& drawer);

    void begin() override;
    void listen() override;
    void answer(const Answer& answer) override;
    void clear() override;
    void settingsChanged() override;
    std::optional<ScoreRun> record() const override;
    void fill(GameState& state) const override;

private:
    // Counts from nothing again.
    void startOver();
    // Draws the keys outside the notes asked dimmed, and the rest as ever.
    void showAskedKeys(const QuestionSettings& settings);
    // The next question, drawn ahead like every other.
    void drawAhead(const QuestionSettings& settings);

    Mode m_mode;
    GameContext& m_context;
    QuestionDrawer& m_drawer;
    PendingQuestion m_pending;
    std::uint32_t m_questions = 0;
    std::uint32_t m_misses = 0;  // questions answered wrongly at least once
    bool m_settled = false;      // answered right, or its miss already counted
};

}  // namespace tonarika
