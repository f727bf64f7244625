#pragma once

// own
#include "audio/Wav.h"

namespace tonarika::audio {

// Writes 16-bit mono FLAC at the highest compression. Returns false when it cannot.
bool writeFlac(const std::filesystem::path& path, const Wave& wave);

// Reads a note as the game would: a WAV or a FLAC file; nullopt for anything else.
std::optional<Wave> readNote(const std::filesystem::path& path);

}  // namespace tonarika::audio
