// The game without its sound module: every play sounds the desktop's alert, is reported
// as the alert, never as the note, and the cause is told once; nothing blames the notes.

// own
#include "MessageCapture.h"
#include "ModulePlayer.h"

// std
#include <gtest/gtest.h>
#include <fstream>
#include <unistd.h>

namespace tonarika {
namespace {

namespace fs = std::filesystem;

TEST(ModulePlayer, withoutItsModuleEveryPlaySoundsTheAlertAndSaysWhyOnce)
{
    const fs::path folder = fs::temp_directory_path() / ("tonarika-module-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "not-a-library.so") << "text, no library";
    const struct {
        const char* what;
        fs::path module;
        const char* told;
    } cases[] = {
        {"no module anywhere", folder / "missing.so", "neither beside the program nor installed"},
        {"a file that is no library", folder / "not-a-library.so", "cannot be loaded"},
        {"a library of another program", "/lib/x86_64-linux-gnu/libm.so.6", "is no sound module of this program"},
    };
    for (const auto& c : cases) {
        if (!fs::exists(c.module) && c.module.filename() != "missing.so")
            continue;  // a machine without that library
        int alerts = 0;
        test::MessageCapture messages;
        ModulePlayer player({c.module}, {folder}, {"wav/Do.wav"}, [&alerts] { ++alerts; });
        player.start();
        Player::Ticket first = 0, second = 0;
        EXPECT_NO_THROW(first = player.play("wav/Do.wav")) << c.what;
        EXPECT_NO_THROW(second = player.play("wav/Do.wav")) << c.what;
        EXPECT_EQ(alerts, 2) << c.what;
        EXPECT_EQ(player.playback(first).state, Playback::State::Alert) << c.what;
        EXPECT_EQ(player.playback(second).state, Playback::State::Alert) << c.what;
        EXPECT_NE(first, second) << c.what;
        EXPECT_EQ(player.playback(second + 1).state, Playback::State::Dropped) << c.what << ": a ticket never given";
        int told = 0;
        for (const auto& message : messages.messages())
            told += message.category == "tonarika.sound";
        EXPECT_EQ(told, 1) << c.what;
        EXPECT_TRUE(messages.has("tonarika.sound", c.told)) << c.what;
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tonarika
