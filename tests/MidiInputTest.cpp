// The game's MIDI input on a JACK server of the test's own, with keyboards made in the
// test: it connects them as they come, drops them as they go, and takes them back.

// own
#include "JackKeyboard.h"
#include "JackServer.h"
#include "MessageCapture.h"
#include "MidiInput.h"

// system
#include <sys/stat.h>

// std
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>
#include <thread>

namespace tonarika::test {
namespace {

using namespace std::chrono_literals;
using Kind = MidiCommand::Kind;

bool sequencerHere()
{
    struct stat info {};
    return ::stat("/dev/snd/seq", &info) == 0;
}

// Waits, twenty seconds at most, until `done` holds; whether it did.
bool eventually(const std::function<bool()>& done)
{
    for (int i = 0; i < 2000 && !done(); ++i)
        std::this_thread::sleep_for(10ms);
    return done();
}

bool sees(const MidiInput& input, const std::string& keyboard)
{
    const auto keyboards = input.keyboards();
    return std::find(keyboards.begin(), keyboards.end(), keyboard) != keyboards.end();
}

std::optional<MidiQueue::Entry> nextEntry(MidiQueue& queue)
{
    for (int i = 0; i < 2000; ++i) {
        if (auto entry = queue.take())
            return entry;
        std::this_thread::sleep_for(10ms);
    }
    return std::nullopt;
}

// Sends `message` until the input takes a command, once a second: a message sent in the
// very period a connection is made can be lost on a busy machine. What a resend still
// brings is taken too.
std::optional<MidiQueue::Entry> sendUntilTaken(JackKeyboard& keyboard, MidiQueue& queue, const std::vector<std::uint8_t>& message)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        keyboard.send(message);
        for (int i = 0; i < 100; ++i) {
            if (auto entry = queue.take()) {
                std::this_thread::sleep_for(50ms);
                while (queue.take()) {
                }
                return entry;
            }
            std::this_thread::sleep_for(10ms);
        }
    }
    return std::nullopt;
}

TEST(MidiInput, withNoSystemAtAllSaysWhyInOneLine)
{
    if (sequencerHere())
        GTEST_SKIP() << "this machine has an ALSA sequencer (/dev/snd/seq), so one system always opens";
    ::setenv("JACK_DEFAULT_SERVER", "tonarika-test-no-such-server", 1);
    MessageCapture capture;
    MidiQueue queue;
    MidiInput input(queue);
    input.start();
    ASSERT_TRUE(capture.waitFor("tonarika.midi", "no keyboard can answer"));
    EXPECT_EQ(input.system(), MidiInput::System::None);
    EXPECT_TRUE(capture.has("tonarika.midi", "no JACK server is running"));
    EXPECT_EQ(capture.messages().size(), 1u) << "libjack and alsa-lib print nothing of their own";
    ::unsetenv("JACK_DEFAULT_SERVER");
}

class MidiInputOnJack : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_server.running())
            GTEST_FAIL() << m_server.failure();
    }
    void TearDown() override
    {
        if (HasFailure()) {
            for (const auto& message : m_capture.messages())
                std::cerr << message.category << ": " << message.text << "\n";
        }
    }
    JackServer m_server;
    MessageCapture m_capture;
    MidiQueue m_queue;
};

TEST_F(MidiInputOnJack, fallsBackToJackWhereTheSequencerCannotOpenAndTellsItsPeriod)
{
    if (sequencerHere())
        GTEST_SKIP() << "this machine has an ALSA sequencer (/dev/snd/seq): the input opens it, not JACK";
    MidiInput input(m_queue);
    input.start();
    ASSERT_TRUE(m_capture.waitFor("tonarika.midi", "is open"));
    EXPECT_EQ(input.system(), MidiInput::System::Jack);
    EXPECT_TRUE(m_capture.has("tonarika.midi", "a period of 128 frames at 48000 Hz, so messages arrive on 2.7 ms steps"));
    EXPECT_TRUE(m_capture.has("tonarika.midi", "tonarika:answers"));
}

TEST_F(MidiInputOnJack, connectsAKeyboardAsItAppearsDropsItAsItGoesAndTakesItBack)
{
    MidiInput input(m_queue, {.alsa = false});
    input.start();
    ASSERT_TRUE(eventually([&] { return input.system() == MidiInput::System::Jack; }));
    // A through port is no keyboard.
    JackKeyboard through("Midi Through");

    for (int plugged = 0; plugged < 2; ++plugged) {
        SCOPED_TRACE(plugged ? "plugged back" : "plugged in");
        auto keyboard = std::make_unique<JackKeyboard>("Keyboard A");
        ASSERT_TRUE(eventually([&] { return sees(input, "Keyboard A:out"); }));
        ASSERT_TRUE(eventually([&] { return keyboard->connectedTo("tonarika:answers"); }));
        const auto sent = std::chrono::steady_clock::now();
        const auto entry = sendUntilTaken(*keyboard, m_queue, {0x90, 72, 80});  // C5: ド
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->command, (MidiCommand{Kind::Note, 0}));
        EXPECT_GE(entry->arrived, sent);
        keyboard->send({0xB0, 64, 127});  // the pedal down: Listen
        const auto listen = nextEntry(m_queue);
        ASSERT_TRUE(listen);
        EXPECT_EQ(listen->command.kind, Kind::Listen);
        keyboard->send({0xB0, 64, 0});

        keyboard.reset();
        ASSERT_TRUE(eventually([&] { return !sees(input, "Keyboard A:out"); }));
    }
    EXPECT_FALSE(sees(input, "Midi Through:out"));
    EXPECT_FALSE(through.connectedTo("tonarika:answers"));
    EXPECT_EQ(m_capture.count("tonarika.midi", "keyboard connected: Keyboard A:out"), 2);
    EXPECT_EQ(m_capture.count("tonarika.midi", "keyboard gone: Keyboard A:out"), 2);
}

// A JACK server that stops (PipeWire restarting) takes our client with it: the input
// says so, lives on, and opens again on the server that comes back.
TEST(MidiInput, outlivesItsJackServerAndOpensAgainOnTheNextOne)
{
    MessageCapture capture;
    MidiQueue queue;
    MidiInput input(queue, {.alsa = false});
    {
        JackServer server(256);
        ASSERT_TRUE(server.running()) << server.failure();
        input.start();
        ASSERT_TRUE(eventually([&] { return input.system() == MidiInput::System::Jack; }));
    }
    ASSERT_TRUE(capture.waitFor("tonarika.midi", "the JACK server went away"));
    JackServer again(256);
    ASSERT_TRUE(again.running()) << again.failure();
    ASSERT_TRUE(eventually([&] { return capture.count("tonarika.midi", "JACK is open") == 2; }));
    JackKeyboard keyboard("Keyboard B");
    ASSERT_TRUE(eventually([&] { return keyboard.connectedTo("tonarika:answers"); }));
    keyboard.send({0x90, 62, 80});
    const auto entry = nextEntry(queue);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->command, (MidiCommand{Kind::Note, 1}));
}

TEST_F(MidiInputOnJack, aFloodNeverStallsTheKeyboardAndWhatIsDroppedIsCounted)
{
    MidiInput input(m_queue, {.alsa = false});
    input.start();
    JackKeyboard keyboard("Flood");
    ASSERT_TRUE(eventually([&] { return keyboard.connectedTo("tonarika:answers"); }));
    // 10,000 messages at once, none taken: 5,000 pedal presses, each a Listen, and long
    // system-exclusive messages between them.
    const std::vector<std::uint8_t> sysex = [] {
        std::vector<std::uint8_t> bytes(1000, 0x11);
        bytes.front() = 0xF0;
        bytes.back() = 0xF7;
        return bytes;
    }();
    for (int i = 0; i < 5000; ++i) {
        ASSERT_TRUE(keyboard.send({0xB0, 64, 127}));
        ASSERT_TRUE(keyboard.send({0xB0, 64, 0}));
        if (i % 100 == 0) {
            ASSERT_TRUE(keyboard.send(sysex));
        }
    }
    ASSERT_TRUE(m_capture.waitFor("tonarika.midi", "commands dropped"));
    const auto dropped = [&] {
        int count = 0;
        for (const auto& message : m_capture.messages()) {
            if (const auto at = message.text.find(" commands dropped"); at != std::string::npos)
                count += std::stoi(message.text.substr(message.text.rfind(' ', at - 1) + 1));
        }
        return count;
    };
    // Once the flood has passed (no drop told for a second), the queue holds what it could
    // and every other press was counted as dropped, none twice. An overloaded JACK server
    // may lose messages of its own, so the sum is at most the presses sent.
    int quietLooks = 0;
    for (int look = 0, last = dropped(); quietLooks < 10 && look < 300; ++look) {
        std::this_thread::sleep_for(100ms);
        const int now = dropped();
        quietLooks = now == last ? quietLooks + 1 : 0;
        last = now;
    }
    int taken = 0;
    while (m_queue.take())
        ++taken;
    EXPECT_EQ(taken, int(MidiQueue::kCapacity));
    EXPECT_GT(dropped(), 0);
    EXPECT_LE(taken + dropped(), 5000) << taken << " taken, " << dropped() << " dropped";
    // The keyboard still answers.
    const auto entry = sendUntilTaken(keyboard, m_queue, {0x90, 61, 80});
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->command, (MidiCommand{Kind::Note, 7}));
}

}  // namespace
}  // namespace tonarika::test
