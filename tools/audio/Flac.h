#pragma once

// own
#include "audio/Wav.h"

namespace tonarika::audio {

// Writes 16-bit mono FLAC at the highest compression. Returns false when it cannot.
bool writeFlac(const std::filesystem::path& path, const Wave& wave);

// A 16-bit FLAC stream in memory, one channel per vector (all as long as the first), whose
// header claims `claimedFrames` frames: what a file of another's making may say. Empty
// where it cannot be made.
std::vector<std::uint8_t> encodeFlac(int rate, const std::vector<std::vector<float>>& channels, std::uint64_t claimedFrames);

// Reads a note as the game would: a WAV or a FLAC file; nullopt for anything else.
std::optional<Wave> readNote(const std::filesystem::path& path);

}  // namespace tonarika::audio
