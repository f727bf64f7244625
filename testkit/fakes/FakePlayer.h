#pragma once

// own
#include "Player.h"
#include "fakes/FakeClock.h"

// std
#include <string>
#include <vector>

namespace tonarika::test {

// Keeps the files it is asked to play. A play sounds its note at once, at the clock's
// time (`startsAfter` later, for the guard's tones before it), unless the test says it is
// still loading or gives the alert tone; `failing`: nothing can sound, for `failure`.
class FakePlayer : public Player {
public:
    std::vector<std::string> played;  // each play's file, "" for a pure tone
    std::vector<SoundRequest> requests;
    std::vector<SoundRequest> prepared;
    bool failing = false;
    SoundError::Cause failure = SoundError::Cause::NoDevice;
    Playback::State next = Playback::State::Sounding;  // what each play comes to
    std::chrono::milliseconds startsAfter{0};
    std::vector<Playback> playbacks;  // each play's, which a test may move on
    const FakeClock* clock = nullptr;

    using Player::play;
    Ticket play(const SoundRequest& request) override
    {
        if (failing)
            throw SoundError("no audio device", failure);
        played.push_back(request.file);
        requests.push_back(request);
        playbacks.push_back({next, (clock ? clock->now() : std::chrono::steady_clock::time_point{}) + startsAfter});
        return playbacks.size() - 1;
    }
    Playback playback(Ticket ticket) const override { return playbacks.at(ticket); }
    void prepare(const SoundRequest& request) override { prepared.push_back(request); }
};

}  // namespace tonarika::test
