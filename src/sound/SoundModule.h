#pragma once

// own
#include "Player.h"

// std
#include <filesystem>
#include <string>
#include <vector>

// What the sound module offers the program that loads it: a started note player, and its
// end. The notes all come from the first of `folders` that holds any of them.
extern "C" {
using CreatePlayer = tonarika::Player* (*)(const std::vector<std::filesystem::path>& folders,
                                           const std::vector<std::string>& notes);
using DestroyPlayer = void (*)(tonarika::Player* player);
}
