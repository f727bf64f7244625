#pragma once

// own
#include "Player.h"

// std
#include <string>
#include <vector>

namespace tonarika::test {

class FakePlayer : public Player {
public:
    std::vector<std::string> played;
    bool failing = false;

    void play(std::string_view wavFile) override
    {
        if (failing)
            throw SoundError("no audio device");
        played.emplace_back(wavFile);
    }
};

}  // namespace tonarika::test
