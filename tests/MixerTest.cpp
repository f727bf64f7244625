// The mix at its edges: a note from its first frame to its last, the one before it fading
// out over 5 ms from where the new one began, and a sum beyond 16 bits held at the edge.

// own
#include "Mixer.h"

// std
#include <gtest/gtest.h>

namespace tonarika {
namespace {

std::shared_ptr<const Samples> steady(std::int16_t value, std::size_t frames)
{
    return std::make_shared<const Samples>(frames, value);
}

TEST(Mixer, aNewNoteFadesTheOneBeforeOutOverFiveMilliseconds)
{
    Mixer mixer(1000);  // 5 frames of fade at 1000 frames a second
    mixer.start(steady(1000, 50), 10);
    mixer.start(steady(2000, 20), 20);
    const struct {
        std::int64_t frame;
        std::int16_t sample;
    } cases[] = {
        {9, 0},            // before the first note
        {10, 1000},        // its first frame
        {19, 1000},        // its last before the second
        {20, 3000},        // the second begins, the first at full
        {22, 2600},        // three fifths of the first
        {24, 2200},        // one fifth
        {25, 2000},        // the first faded out
        {39, 2000},        // the second's last frame
        {40, 0},           // and past it
    };
    for (const auto& c : cases) {
        std::int16_t sample = -1;
        mixer.render(c.frame, &sample, 1);
        EXPECT_EQ(sample, c.sample) << "frame " << c.frame;
    }
    Mixer loud(1000);
    loud.start(steady(30000, 10), 0);
    loud.start(steady(30000, 10), 0);
    std::int16_t sample = 0;
    loud.render(0, &sample, 1);
    EXPECT_EQ(sample, 32767) << "held at the edge, not wrapped";
}

}  // namespace
}  // namespace tonarika
