#include "NoteFile.h"

// system
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// std
#include <algorithm>
#include <cerrno>
#include <string_view>

namespace tonarika {

namespace {

std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 | std::uint32_t(bytes[at + 2]) << 16
        | std::uint32_t(bytes[at + 3]) << 24;
}

std::uint16_t le16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

bool tagIs(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view tag)
{
    for (std::size_t i = 0; i < tag.size(); ++i) {
        if (bytes[at + i] != static_cast<std::uint8_t>(tag[i]))
            return false;
    }
    return true;
}

}  // namespace

NoteFile readNoteFile(const std::filesystem::path& path, std::size_t maxBytes)
{
    NoteFile file;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        file.outcome = errno == ENOENT || errno == ENOTDIR ? NoteFile::Outcome::Missing : NoteFile::Outcome::Refused;
        return file;
    }
    file.outcome = NoteFile::Outcome::Refused;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= 0
        && static_cast<std::uint64_t>(status.st_size) <= maxBytes) {
        file.device = status.st_dev;
        file.inode = status.st_ino;
        // One byte more than fstat gave tells a file that is still growing.
        file.bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
        std::size_t got = 0;
        while (got < file.bytes.size()) {
            const ssize_t n = ::read(fd, file.bytes.data() + got, file.bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    file.outcome = NoteFile::Outcome::Read;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (got > static_cast<std::size_t>(status.st_size))
            file.outcome = NoteFile::Outcome::Refused;
        file.bytes.resize(file.outcome == NoteFile::Outcome::Read ? got : 0);
        file.bytes.shrink_to_fit();
    }
    ::close(fd);
    return file;
}

bool isShortPcmWave(std::span<const std::uint8_t> bytes, double maxSeconds)
{
    if (bytes.size() < 12 || !tagIs(bytes, 0, "RIFF") || !tagIs(bytes, 8, "WAVE"))
        return false;
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bits = 0;
    std::uint64_t dataBytes = 0;
    bool haveFormat = false;
    bool haveData = false;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::uint64_t size = le32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (tagIs(bytes, at, "fmt ") && size >= 16 && body + 16 <= bytes.size()) {
            format = le16(bytes, body);
            channels = le16(bytes, body + 2);
            sampleRate = le32(bytes, body + 4);
            bits = le16(bytes, body + 14);
            haveFormat = true;
        } else if (tagIs(bytes, at, "data")) {
            // A data chunk that claims more than the file holds is as long as the file.
            dataBytes = std::min<std::uint64_t>(size, bytes.size() - body);
            haveData = true;
        }
        at = body + static_cast<std::size_t>(std::min<std::uint64_t>(size + (size & 1), bytes.size()));
    }
    // Linear PCM, IEEE float, or either behind the extensible header.
    constexpr std::uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;
    const bool knownFormat = format == kPcm || format == kFloat || format == kExtensible;
    const bool knownBits = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (!haveFormat || !haveData || !knownFormat || !knownBits || channels == 0 || channels > 8
        || sampleRate < 8000 || sampleRate > 192000)
        return false;
    const std::uint64_t frames = dataBytes / (std::uint64_t(channels) * (bits / 8u));
    return frames > 0 && double(frames) / sampleRate <= maxSeconds;
}

}  // namespace tonarika
