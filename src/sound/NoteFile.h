#pragma once

// std
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tonarika {

// The bytes of one note file, read whole before anything decodes them.
struct NoteFile {
    enum class Outcome {
        Missing,  // nothing under that name
        Refused,  // not a regular file, too large, or unreadable
        Read,
    };
    Outcome outcome = Outcome::Missing;
    std::string problem;  // why it was refused
    std::vector<std::uint8_t> bytes;
};

// Reads a note file of at most maxBytes that passes noteFault(). What is checked is the
// file that was opened, not the name: a FIFO or a device is opened without blocking and
// never read, and a file refused by its headers has its samples never read.
NoteFile readNoteFile(const std::filesystem::path& path, std::size_t maxBytes, double maxSeconds);

// Copies `length` bytes at `offset` to `out`; false where there are not that many.
using ByteReader = std::function<bool(std::uint64_t offset, std::uint8_t* out, std::size_t length)>;

// What is wrong with a file of `size` bytes as a note, or nothing: it must be a RIFF
// wave of linear PCM or float samples that holds some sound and lasts no longer than
// maxSeconds, so that decoding it is bounded. What is checked is what SDL decodes: the
// first format and data chunks within the size the RIFF header gives. A second format or
// data chunk, or a data chunk longer than the bytes there are, is refused outright. Only
// the chunks' headers are read.
std::string waveFault(const ByteReader& read, std::uint64_t size, double maxSeconds);
// What is wrong with a note file, a FLAC file by its stream header (flacFault()), any
// other as a wave (waveFault()), or nothing.
std::string noteFault(const ByteReader& read, std::uint64_t size, double maxSeconds);

// The same over bytes in memory.
std::string waveFault(std::span<const std::uint8_t> bytes, double maxSeconds);

}  // namespace tonarika
