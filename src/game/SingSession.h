#pragma once

// own
#include "GameContext.h"
#include "QuestionDrawer.h"
#include "Session.h"
#include "SingJudge.h"
#include "VoiceInput.h"

// std
#include <chrono>
#include <cstdint>
#include <optional>

namespace tonarika {

// Singing a named note: Listen names a note, with no sound before the answer, and the
// desktop's input listens; the sung pitch is judged in cents against the note named, and
// then the note plays. Counted as Hard counts its questions, kept in the journal as Sing,
// never in the score file.
class SingSession : public Session, private VoiceListener {
public:
    static constexpr std::chrono::milliseconds kListenLimit{8000};

    SingSession(GameContext& context, QuestionDrawer& drawer);

    // Where the sung answers are heard; none: the microphone cannot be used.
    void setVoiceInput(VoiceInput* input) { m_input = input; }

    void begin() override;
    void end() override;
    void listen() override;
    void answer(const Answer&) override {}
    void clear() override;
    void fill(GameState& state) const override;

private:
    void voiceHeard(const SungPitch& pitch) override;
    void nothingHeard() override;
    void inputFailed() override;
    // The note sung for, named: after the answer, as feedback.
    void playAsked();

    GameContext& m_context;
    QuestionDrawer& m_drawer;
    VoiceInput* m_input = nullptr;
    std::optional<NoteIndex> m_asked;  // named and not yet answered
    int m_previous = -1;               // the note named last, never named twice in a row
    bool m_listening = false;
    std::int64_t m_namedAtMs = 0;
    std::uint32_t m_questions = 0;
    std::uint32_t m_misses = 0;
};

}  // namespace tonarika
