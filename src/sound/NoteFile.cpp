#include "NoteFile.h"

// own
#include "FlacFile.h"
#include "OutsideFile.h"

// std
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace tonarika {

namespace {

std::uint32_t le32(const std::uint8_t* bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16
        | std::uint32_t(bytes[3]) << 24;
}

std::uint16_t le16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

bool tagIs(const std::uint8_t* bytes, std::string_view tag)
{
    return std::equal(tag.begin(), tag.end(), bytes, [](char a, std::uint8_t b) { return std::uint8_t(a) == b; });
}

}  // namespace

std::string noteFault(const ByteReader& read, std::uint64_t size, double maxSeconds)
{
    std::array<std::uint8_t, kFlacHeaderBytes> head{};
    if (size >= head.size() && read(0, head.data(), head.size()) && isFlac(head))
        return flacFault(head, maxSeconds);
    return waveFault(read, size, maxSeconds);
}

NoteFile readNoteFile(const std::filesystem::path& path, std::size_t maxBytes, double maxSeconds)
{
    NoteFile note;
    // The notes may be links, as a package installs them.
    OutsideFile file = OutsideFile::toRead(path, OutsideFile::Links::Followed);
    if (!file) {
        if (file.refusal()->kind != OutsideFile::Refusal::Kind::Missing) {
            note.outcome = NoteFile::Outcome::Refused;
            note.problem = file.refusal()->text();
        }
        return note;
    }
    note.outcome = NoteFile::Outcome::Refused;
    const auto size = std::uint64_t(file.status().st_size);
    if (size > maxBytes) {
        note.problem = "larger than " + std::to_string(maxBytes / (1024 * 1024)) + " MB";
        return note;
    }
    // Refused from its headers alone, its samples are never read.
    note.problem = noteFault([&file](std::uint64_t offset, std::uint8_t* out, std::size_t length) {
        return file.readAt(offset, out, length);
    }, size, maxSeconds);
    if (!note.problem.empty())
        return note;
    const auto bytes = file.bytes(maxBytes);
    if (!bytes) {
        note.problem = file.refusal()->text();
    } else if (bytes->size() > size) {
        note.problem = "it grew while it was read";
    } else {
        note.bytes.assign(bytes->begin(), bytes->end());
        note.outcome = NoteFile::Outcome::Read;
    }
    return note;
}

std::string waveFault(const ByteReader& read, std::uint64_t size, double maxSeconds)
{
    std::array<std::uint8_t, 16> header{};
    if (size < 12 || !read(0, header.data(), 12) || !tagIs(header.data(), "RIFF") || !tagIs(header.data() + 8, "WAVE"))
        return "not a RIFF wave";
    // SDL reads no further than the RIFF chunk's own size.
    const std::uint64_t end = std::min<std::uint64_t>(std::uint64_t(le32(header.data() + 4)) + 8, size);
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bits = 0;
    std::uint64_t dataBytes = 0;
    bool haveFormat = false;
    bool haveData = false;
    for (std::uint64_t at = 12; at + 8 <= end;) {
        if (!read(at, header.data(), 8))
            return "a chunk cut short";
        const std::uint64_t chunkSize = le32(header.data() + 4);
        const std::uint64_t body = at + 8;
        if (tagIs(header.data(), "fmt ")) {
            if (haveFormat)
                return "more than one format chunk";
            if (chunkSize < 16 || body + 16 > end || !read(body, header.data(), 16))
                return "a format chunk cut short";
            format = le16(header.data());
            channels = le16(header.data() + 2);
            sampleRate = le32(header.data() + 4);
            bits = le16(header.data() + 14);
            haveFormat = true;
        } else if (tagIs(header.data(), "data")) {
            if (haveData)
                return "more than one data chunk";
            if (body + chunkSize > end)
                return "a data chunk that claims more bytes than there are";
            dataBytes = chunkSize;
            haveData = true;
        }
        at = body + chunkSize + (chunkSize & 1);
    }
    // Linear PCM, IEEE float, or either behind the extensible header.
    constexpr std::uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;
    if (!haveFormat || !haveData)
        return "no format or no data chunk";
    if (!(format == kPcm || format == kFloat || format == kExtensible))
        return "a compressed or unknown sample format";
    if (!(bits == 8 || bits == 16 || bits == 24 || bits == 32) || channels == 0 || channels > 8 || sampleRate < 8000
        || sampleRate > 192000)
        return "a sample size, channel count or rate out of range";
    const std::uint64_t frames = dataBytes / (std::uint64_t(channels) * (bits / 8u));
    if (frames == 0)
        return "no sound in it";
    if (double(frames) / sampleRate > maxSeconds)
        return "longer than " + std::to_string(int(maxSeconds)) + " s";
    return {};
}

std::string waveFault(std::span<const std::uint8_t> bytes, double maxSeconds)
{
    return waveFault(
        [bytes](std::uint64_t offset, std::uint8_t* out, std::size_t length) {
            if (offset > bytes.size() || length > bytes.size() - offset)
                return false;
            std::copy_n(bytes.begin() + std::ptrdiff_t(offset), length, out);
            return true;
        },
        bytes.size(), maxSeconds);
}

}  // namespace tonarika
