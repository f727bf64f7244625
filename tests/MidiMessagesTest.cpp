// The rules by which a MIDI keyboard's messages become the game's keys and Listen.

// own
#include "MidiMessages.h"
#include "MidiQueue.h"

// system
#include <poll.h>

// std
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace tonarika::test {
namespace {

using namespace std::chrono_literals;
using Kind = MidiCommand::Kind;

TEST(MidiGate, eachMessageDoesWhatItsOnScreenActionDoes)
{
    struct Step {
        std::vector<std::uint8_t> message;
        std::chrono::milliseconds at;
        std::optional<MidiCommand> command;
    };
    const struct {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"middle C is ド", {{{0x90, 60, 100}, 0ms, MidiCommand{Kind::Note, 0}}}},
        {"C of any octave is ド", {{{0x90, 24, 1}, 0ms, MidiCommand{Kind::Note, 0}}, {{0x90, 108, 127}, 100ms, MidiCommand{Kind::Note, 0}}}},
        {"any channel; B is シ, A# ラ#", {{{0x9F, 71, 64}, 0ms, MidiCommand{Kind::Note, 6}}, {{0x93, 58, 64}, 50ms, MidiCommand{Kind::Note, 11}}}},
        {"velocity 0 is a note-off", {{{0x90, 60, 0}, 0ms, std::nullopt}}},
        {"a note-off does nothing", {{{0x80, 60, 64}, 0ms, std::nullopt}}},
        {"a chord answers once, with its first",
         {{{0x90, 64, 90}, 0ms, MidiCommand{Kind::Note, 2}}, {{0x90, 67, 90}, 10ms, std::nullopt}, {{0x90, 60, 90}, 29ms, std::nullopt}}},
        {"30 ms after the first is a new answer", {{{0x90, 64, 90}, 0ms, MidiCommand{Kind::Note, 2}}, {{0x90, 65, 90}, 30ms, MidiCommand{Kind::Note, 3}}}},
        {"a slip is timed from the note that answered, not the last",
         {{{0x90, 64, 90}, 0ms, MidiCommand{Kind::Note, 2}}, {{0x90, 65, 90}, 20ms, std::nullopt}, {{0x90, 66, 90}, 40ms, MidiCommand{Kind::Note, 9}}}},
        {"the pedal going down is Listen, once",
         {{{0xB0, 64, 127}, 0ms, MidiCommand{Kind::Listen, 0}}, {{0xB0, 64, 100}, 10ms, std::nullopt}, {{0xB0, 64, 0}, 20ms, std::nullopt},
          {{0xB2, 64, 64}, 30ms, MidiCommand{Kind::Listen, 0}}}},
        {"a half pedal below 64 is not down", {{{0xB0, 64, 63}, 0ms, std::nullopt}}},
        {"another controller does nothing", {{{0xB0, 1, 127}, 0ms, std::nullopt}}},
        {"system messages and bytes that are no MIDI do nothing",
         {{{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}, 0ms, std::nullopt}, {{0xF8}, 0ms, std::nullopt}, {{0x90, 60}, 0ms, std::nullopt},
          {{0x90, 0x80, 100}, 0ms, std::nullopt}, {{0x90, 60, 200}, 0ms, std::nullopt}, {{}, 0ms, std::nullopt},
          {{0x90, 62, 100}, 0ms, MidiCommand{Kind::Note, 1}}}},
    };
    const MidiGate::Clock::time_point start{1h};
    for (const auto& c : cases) {
        MidiGate gate;
        for (std::size_t i = 0; i < c.steps.size(); ++i)
            EXPECT_EQ(gate.take(c.steps[i].message, start + c.steps[i].at), c.steps[i].command) << c.what << ", step " << i;
    }
}

// A flood from the MIDI thread while the window takes what it can: every command arrives
// in order or is counted as dropped, none twice, and the window's descriptor wakes while
// any waits.
TEST(MidiQueue, aFloodIsTakenInOrderOrCountedAsDroppedAndNeverWaitsFor)
{
    MidiQueue queue;
    pollfd wake{queue.wakeDescriptor(), POLLIN, 0};
    EXPECT_EQ(::poll(&wake, 1, 0), 0) << "nothing waits";
    constexpr int kFlood = 100'000;
    std::thread keyboard([&] {
        for (int i = 0; i < kFlood; ++i)
            queue.put({MidiCommand{Kind::Note, NoteIndex(i % 12)}, MidiGate::Clock::time_point(std::chrono::microseconds(i))});
    });
    std::vector<long long> taken;
    std::uint64_t dropped = 0;
    const auto drain = [&] {
        queue.acknowledge();
        while (const auto entry = queue.take())
            taken.push_back(std::chrono::duration_cast<std::chrono::microseconds>(entry->arrived.time_since_epoch()).count());
        dropped += queue.takeDropped();
    };
    while (taken.size() + dropped < std::size_t(kFlood)) {
        ::poll(&wake, 1, 1000);
        drain();
    }
    keyboard.join();
    drain();
    EXPECT_EQ(taken.size() + dropped, std::size_t(kFlood));
    EXPECT_FALSE(taken.empty());
    for (std::size_t i = 1; i < taken.size(); ++i)
        ASSERT_LT(taken[i - 1], taken[i]) << "in order, none twice";
    EXPECT_EQ(::poll(&wake, 1, 0), 0) << "asleep once all is taken";
}

}  // namespace
}  // namespace tonarika::test
