#pragma once

// std
#include <filesystem>
#include <vector>

namespace tonarika {

// The folder that holds the running executable, symlinks resolved; empty if unknown.
std::filesystem::path programFolder();

// The folders a note file ("wav/Do.wav") is looked up under, in order: the current
// folder (empty), the program's folder, and the installed data folder found relative
// to the program (<program folder>/../share/tonarika), so that any prefix works.
std::vector<std::filesystem::path> noteFolders(const std::filesystem::path& program);

// Where the score file goes first. A program folder that holds its own wav/ (the build
// folder, an unpacked copy) keeps its score beside the program; an installed program
// (its notes under ../share/tonarika) keeps none there, and gives an empty path: the
// score then goes straight to the user's data folder.
std::filesystem::path scoreFolder(const std::filesystem::path& program);

}  // namespace tonarika
