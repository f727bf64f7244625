#pragma once

// std
#include <filesystem>

namespace tonarika {

// What `tonarika-progress --remind` does: where the day's goal is not met (or, with no
// goal, no question was answered today), it shows the reminder through the desktop's
// notifications, and starts the game if the player takes its action; it waits for that
// at most ten minutes. Without `now` it first waits for the settings' time of day where
// that is still to come today (XDG autostart starts it at login). Nothing to say, no
// session bus or no notification service is no failure: a line on stderr and 0.
struct ReminderPlaces {
    std::filesystem::path journal;  // empty: none
    std::filesystem::path game;     // the program the action starts
};
int remind(const ReminderPlaces& places, bool now);

}  // namespace tonarika
