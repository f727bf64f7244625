#pragma once

// own
#include "Alarm.h"
#include "AnswerListener.h"
#include "GameClock.h"
#include "Journal.h"
#include "Player.h"
#include "QuestionSettings.h"
#include "RandomSource.h"
#include "ResultView.h"
#include "Timbre.h"

// std
#include <cstdint>
#include <string>
#include <vector>

namespace tonarika {

// What every session of the game works with: the window through the result view, the
// player, the random source, the journal and the clocks, the settings and the alarm, the
// run the journal counts, and the sound played last.
struct GameContext {
    GameContext(Display& display, Player& player, RandomSource& random, Journal& journal, const GameClock& clock,
                std::string decimalSeparator);

    // The settings as they are now; the defaults where there are none.
    QuestionSettings settings() const;
    // Plays a sound at `a4`, after the guard's tones where there are any, and remembers
    // its file and name. Throws SoundError.
    Player::Ticket play(const NoteSound& sound, int a4, std::vector<double> guardTones);
    // Hands a first answer to the journal and the listener; the journal never stops the game.
    void record(const Trial& trial);

    ResultView view;
    Player& player;
    RandomSource& random;
    Journal& journal;
    const GameClock& clock;
    const QuestionSettingsSource* settingsSource = nullptr;
    Alarm* alarm = nullptr;
    AnswerListener* listener = nullptr;
    // This session's run, as the journal keeps it: one more after each record and clear.
    std::int64_t run = 1;
    std::string wavFile;   // played last
    std::string noteName;  // of the note played last
};

// What the player is asked to play for a sound: its file, with the middle piano note of
// its name in its place should the file be missing or refused, or the pure tone; at `a4`.
SoundRequest requestFor(const NoteSound& sound, int a4, std::vector<double> guardTones);

}  // namespace tonarika
