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

// The player's own data folder, "$XDG_DATA_HOME/tonarika": where the score goes when the
// program's folder cannot take it, and where the journal lives. Built from the bytes of
// the environment, never through a QString, so that a folder whose name is no UTF-8
// is found as it is. Without XDG_DATA_HOME (or with one that is not absolute) it is
// under $HOME/.local/share, and without HOME under the home the user database gives.
// Empty when no home can be found at all.
std::filesystem::path playerDataFolder();

// Every score log the game may write in this layout: the one beside the program where
// the game keeps its score there (see scoreFolder), then the one in `dataFolder`.
std::vector<std::filesystem::path> scoreLogs(const std::filesystem::path& program,
                                             const std::filesystem::path& dataFolder);

}  // namespace tonarika
