#pragma once

// std
#include <filesystem>
#include <optional>
#include <vector>

namespace tonarika::audio {

// Mono audio as floats in [-1, 1].
struct Wave {
    int sampleRate = 0;
    std::vector<float> samples;
};

// Reads 16-bit PCM WAV (mono, or stereo mixed down); nullopt for anything else.
std::optional<Wave> readWav(const std::filesystem::path& path);
// Writes 16-bit PCM mono WAV. Returns false when the file cannot be written.
bool writeWav(const std::filesystem::path& path, const Wave& wave);

// The raw header fields, for checking the committed files' format.
struct WavFormat {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int formatTag = 0;
};
std::optional<WavFormat> readWavFormat(const std::filesystem::path& path);

}  // namespace tonarika::audio
