#include "Wav.h"

// std
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

namespace tonarika::audio {

namespace {

std::uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t le16(const unsigned char* p) { return std::uint16_t(p[0] | p[1] << 8); }

struct Parsed {
    std::vector<unsigned char> bytes;
    WavFormat format;
    std::size_t dataOffset = 0;
    std::size_t dataSize = 0;
};

// Walks the RIFF chunks for "fmt " and "data"; tolerates other chunks in between.
std::optional<Parsed> load(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<unsigned char> bytes(std::istreambuf_iterator<char>(in), {});
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0
        || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    Parsed parsed;
    bool haveData = false;
    bool haveFormat = false;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + pos;
        const std::size_t size = le32(chunk + 4);
        const std::size_t body = pos + 8;
        if (size > bytes.size() - body)
            return std::nullopt;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            parsed.format = {le16(chunk + 10), int(le32(chunk + 12)), le16(chunk + 22), le16(chunk + 8)};
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            parsed.dataOffset = body;
            parsed.dataSize = size;
            haveData = true;
        }
        pos = body + size + (size & 1);
    }
    if (!haveFormat || !haveData)
        return std::nullopt;
    parsed.bytes = std::move(bytes);
    return parsed;
}

void put32(std::ofstream& out, std::uint32_t v)
{
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(b, 4);
}
void put16(std::ofstream& out, std::uint16_t v)
{
    const char b[2] = {char(v), char(v >> 8)};
    out.write(b, 2);
}

}  // namespace

std::optional<WavFormat> readWavFormat(const std::filesystem::path& path)
{
    const auto parsed = load(path);
    if (!parsed)
        return std::nullopt;
    return parsed->format;
}

std::optional<Wave> readWav(const std::filesystem::path& path)
{
    const auto parsed = load(path);
    if (!parsed)
        return std::nullopt;
    const WavFormat& f = parsed->format;
    if (f.formatTag != 1 || f.bitsPerSample != 16 || f.channels < 1 || f.channels > 2)
        return std::nullopt;
    Wave wave{f.sampleRate, {}};
    const std::size_t frames = parsed->dataSize / (2 * f.channels);
    wave.samples.reserve(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        float sum = 0;
        for (int c = 0; c < f.channels; ++c)
            sum += std::int16_t(le16(&parsed->bytes[parsed->dataOffset + 2 * (i * f.channels + c)])) / 32768.0f;
        wave.samples.push_back(sum / float(f.channels));
    }
    return wave;
}

bool writeWav(const std::filesystem::path& path, const Wave& wave)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const auto dataSize = std::uint32_t(wave.samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataSize);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, std::uint32_t(wave.sampleRate));
    put32(out, std::uint32_t(wave.sampleRate * 2));
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataSize);
    for (const float s : wave.samples) {
        const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        put16(out, std::uint16_t(std::int16_t(v)));
    }
    return bool(out.flush());
}

}  // namespace tonarika::audio
