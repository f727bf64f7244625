#pragma once

// own
#include "Player.h"
#include "fakes/FakeClock.h"

// std
#include <string>
#include <vector>

namespace tonarika::test {

// Keeps the files it is asked to play. A play sounds its note at once, at the clock's
// time, unless the test says it is still loading or gives the alert tone; `failing`:
// nothing can sound at all.
class FakePlayer : public Player {
public:
    std::vector<std::string> played;  // each play's file, "" for a pure tone
    std::vector<SoundRequest> requests;
    std::vector<SoundRequest> prepared;
    bool failing = false;
    Playback::State next = Playback::State::Sounding;  // what each play comes to
    const FakeClock* clock = nullptr;

    using Player::play;
    Ticket play(const SoundRequest& request) override
    {
        if (failing)
            throw SoundError("no audio device");
        played.push_back(request.file);
        requests.push_back(request);
        m_playbacks.push_back({next, clock ? clock->now() : std::chrono::steady_clock::time_point{}});
        return m_playbacks.size() - 1;
    }
    Playback playback(Ticket ticket) const override { return m_playbacks.at(ticket); }
    void prepare(const SoundRequest& request) override { prepared.push_back(request); }

private:
    std::vector<Playback> m_playbacks;
};

}  // namespace tonarika::test
