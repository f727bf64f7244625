#pragma once

// own
#include "Display.h"
#include "GameState.h"
#include "Player.h"
#include "RandomSource.h"
#include "ScoreLog.h"

// std
#include <string>

namespace tonarika {

inline constexpr const char* kWarningText = "wavファイルが見つかりません。";
inline constexpr const char* kWarningTitle = "Error";

// The game of the main window: the question cycle, the judge, the keyboard answers,
// the modes and the record of a finished run. It keeps the state and talks to the
// window only through Display, to the speaker only through Player.
class Game {
public:
    Game(Display& display, Player& player, RandomSource& random, ScoreLog& scoreLog,
         std::string decimalSeparator);

    // Plays a note and remembers its file and name. Throws SoundError.
    void Sound(int index);

    void Command1_Click();  // Listen: ask a new question or replay the pending one
    void cmdKey_Click(int index);
    void Key(int keyCode);
    void clear_Click();

    void easy_Click();
    void hard_Click();
    void prac_Click();
    void en_Click();

    // Records the run that ends; the window's unload runs it, and so do mode changes.
    void Form_Unload();

    const GameState& state() const { return m_state; }

private:
    void hantei();
    void update();
    void setIdleLook();
    void switchMode(ModeItem mode);

    Display& m_display;
    Player& m_player;
    RandomSource& m_random;
    ScoreLog& m_scoreLog;
    std::string m_decimalSeparator;
    GameState m_state;
};

}  // namespace tonarika
