// The check a note file passes before SDL decodes it: what SDL decodes, no more, no less.

// own
#include "NoteFile.h"

// std
#include <gtest/gtest.h>
#include <string>

namespace tonarika {
namespace {

std::string le(std::uint64_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
    return out;
}

std::string chunk(const std::string& tag, const std::string& body, std::uint64_t claimed)
{
    return tag + le(claimed, 4) + body + (body.size() % 2 ? std::string(1, '\0') : std::string());
}
std::string chunk(const std::string& tag, const std::string& body) { return chunk(tag, body, body.size()); }

std::string format(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits)
{
    return chunk("fmt ", le(1, 2) + le(channels, 2) + le(rate, 4) + le(rate * channels * bits / 8, 4)
                             + le(channels * bits / 8, 2) + le(bits, 2));
}

std::string riff(const std::string& chunks, std::int64_t sizeAdjustment = 0)
{
    return "RIFF" + le(std::uint64_t(std::int64_t(chunks.size() + 4) + sizeAdjustment), 4) + "WAVE" + chunks;
}

std::span<const std::uint8_t> bytesOf(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(NoteFile, theWaveCheckReadsTheFirstFormatAndDataWithinTheRiffSize)
{
    const std::string second(8000, 'x');  // a second of 8 kHz 8-bit mono
    const std::string reviewed = "5249464656000000574156454c49535407000000494e464f61626300666d742010000000010001001c01"
                                 "000080610000020010006461746110000000000053540700";
    std::string fuzzed;
    for (size_t i = 0; i < reviewed.size(); i += 2)
        fuzzed += char(std::stoi(reviewed.substr(i, 2), nullptr, 16));
    const struct {
        const char* what;
        std::string bytes;
        bool accepted;
    } cases[] = {
        {"a second of sound", riff(format(8000, 1, 8) + chunk("data", second)), true},
        {"a chunk of its own before the format", riff(chunk("LIST", "INFOabc") + format(8000, 1, 8) + chunk("data", second)), true},
        {"bytes past the RIFF size, which SDL does not read", riff(format(8000, 1, 8) + chunk("data", second)) + format(1, 1, 8), true},
        {"a second format chunk", riff(format(8000, 1, 8) + chunk("data", "xx") + format(192000, 8, 32) + chunk("data", second)), false},
        {"a second data chunk", riff(format(8000, 1, 8) + chunk("data", second) + chunk("data", second)), false},
        {"a data chunk that claims 2 GB in a short file", riff(format(8000, 1, 8) + chunk("data", "xxxx", 2u << 30)), false},
        {"a data chunk past the RIFF size", riff(format(8000, 1, 8) + chunk("data", second), -100), false},
        {"31 seconds", riff(format(8000, 1, 8) + chunk("data", std::string(31 * 8000, 'x'))), false},
        {"no samples", riff(format(8000, 1, 8) + chunk("data", "")), false},
        {"no format", riff(chunk("data", second)), false},
        {"the file a fuzzer found", fuzzed, false},
        {"no RIFF wave at all", "RIFX" + second, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(waveFault(bytesOf(c.bytes), 30.0).empty(), c.accepted) << c.what << ": " << waveFault(bytesOf(c.bytes), 30.0);
}

}  // namespace
}  // namespace tonarika
