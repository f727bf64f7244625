#pragma once

// own
#include "Game.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakePlayer.h"
#include "fakes/FakeScoreLog.h"
#include "fakes/ScriptedRandom.h"

namespace tonarika::test {

// A game wired to fakes of everything around it.
struct GameHarness {
    FakeDisplay display;
    FakePlayer player;
    ScriptedRandom random;
    FakeScoreLog scoreLog;
    Game game{display, player, random, scoreLog, "."};
};

}  // namespace tonarika::test
