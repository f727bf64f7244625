#pragma once

// std
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace tonarika {

// The bytes of one note file, read whole before anything decodes them.
struct NoteFile {
    enum class Outcome {
        Missing,  // nothing under that name: the next folder may have it
        Refused,  // not a regular file, too large, or unreadable
        Read,
    };
    Outcome outcome = Outcome::Missing;
    std::vector<std::uint8_t> bytes;
    std::uint64_t device = 0;  // with inode: the same file reached by two paths
    std::uint64_t inode = 0;
};

// Reads a note file of at most maxBytes. What is checked is the file that was opened,
// not the name: a FIFO or a device is opened without blocking and never read.
NoteFile readNoteFile(const std::filesystem::path& path, std::size_t maxBytes);

// Whether the bytes are a RIFF wave of linear PCM or float samples that holds some
// sound and lasts no longer than maxSeconds, so that decoding it is bounded.
bool isShortPcmWave(std::span<const std::uint8_t> bytes, double maxSeconds);

}  // namespace tonarika
