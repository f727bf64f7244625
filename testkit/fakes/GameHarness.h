#pragma once

// own
#include "Game.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeJournal.h"
#include "fakes/FakePlayer.h"
#include "fakes/FakeScoreLog.h"
#include "fakes/ScriptedRandom.h"

namespace tonarika::test {

// A game wired to fakes of everything around it.
struct GameHarness {
    FakeDisplay display;
    FakeClock clock;
    FakePlayer player;
    ScriptedRandom random;
    FakeScoreLog scoreLog;
    FakeJournal journal;
    Game game{display, player, random, scoreLog, journal, clock, "."};

    GameHarness() { player.clock = &clock; }
};

}  // namespace tonarika::test
