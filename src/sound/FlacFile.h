#pragma once

// std
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tonarika {

// A FLAC file's sound as one channel of signed 16-bit samples at its own rate.
struct FlacSound {
    int rate = 0;
    std::vector<std::int16_t> samples;
};

// The bytes flacFault() reads: the stream's mark and its stream information.
inline constexpr std::size_t kFlacHeaderBytes = 42;

// Whether bytes begin as a FLAC stream does ("fLaC").
bool isFlac(std::span<const std::uint8_t> bytes);

// What is wrong with the bytes of a FLAC file as a note, from its stream header alone, or
// nothing: one or two channels of 8 to 24 bits, a rate SDL converts (8 to 192 kHz), and a
// length that is given and no longer than maxSeconds, so that decoding it is bounded.
std::string flacFault(std::span<const std::uint8_t> bytes, double maxSeconds);

// Decodes a FLAC file held in memory, its channels mixed to one; nothing, and why in
// `fault`, where the stream is broken or decodes to more than maxSeconds whatever its
// header said.
std::optional<FlacSound> decodeFlac(std::span<const std::uint8_t> bytes, double maxSeconds, std::string& fault);

}  // namespace tonarika
