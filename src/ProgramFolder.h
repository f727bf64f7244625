#pragma once

// std
#include <filesystem>

namespace tonarika {

// The folder that holds the running executable, symlinks resolved; empty if unknown.
std::filesystem::path programFolder();

}  // namespace tonarika
