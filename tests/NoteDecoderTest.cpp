// The samples a note becomes: what SDL decodes, in the output's format, from the note's
// first audible sample on.

// own
#include "NoteDecoder.h"
#include "audio/Wav.h"

// system
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>

namespace tonarika {
namespace {

// -60 dBFS is the edge: below it is silence before the note, at it the note begins.
TEST(NoteDecoder, aNoteBeginsAtItsFirstSampleAtMinusSixtyDecibels)
{
    const struct {
        Samples samples;
        std::size_t leadIn;
    } cases[] = {
        {{}, 0},
        {{0, 0, 0}, 0},                       // nothing audible: left whole
        {{1000, 0, 0}, 0},
        {{0, 5, -32, 33, 1000}, 3},
        {{0, 0, -33, 0}, 2},                  // either sign
        {{32, -32, 32, -32, 32}, 0},          // just below, all of it: left whole
        {{0, 0, -32768}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadIn(c.samples), c.leadIn) << ::testing::PrintToString(c.samples);
}

// A file at half the output's rate comes out at the output's rate, as long, with its
// silent start left out; bytes that are no wave come out as nothing, with the reason.
TEST(NoteDecoder, aNoteComesOutAtTheOutputsRateFromItsFirstSound)
{
    const auto path = std::filesystem::temp_directory_path() / ("tonarika-decode-" + std::to_string(::getpid()) + ".wav");
    constexpr int kRate = 22050;
    audio::Wave wave{kRate, std::vector<float>(kRate / 2)};
    for (std::size_t i = kRate / 10; i < wave.samples.size(); ++i)
        wave.samples[i] = float(0.5 * std::sin(2 * std::numbers::pi * 440.0 * double(i) / kRate));
    ASSERT_TRUE(audio::writeWav(path, wave));
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(path);
    std::string fault;
    const auto samples = decodeNote(bytes, 2 * kRate, 30.0, fault);
    ASSERT_TRUE(samples) << fault;
    EXPECT_NEAR(double(samples->size()), 2.0 * (kRate / 2 - kRate / 10), 8.0);
    EXPECT_GE(std::abs(samples->front()), 33);

    EXPECT_FALSE(decodeNote(std::vector<std::uint8_t>(100, 7), 2 * kRate, 30.0, fault));
    EXPECT_FALSE(fault.empty());
}

}  // namespace
}  // namespace tonarika
