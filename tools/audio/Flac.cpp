#include "audio/Flac.h"

// own
#include "FlacFile.h"

// FLAC
#include <FLAC/stream_encoder.h>

// std
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>

namespace tonarika::audio {

namespace {

struct EncoderDeleter {
    void operator()(FLAC__StreamEncoder* encoder) const { FLAC__stream_encoder_delete(encoder); }
};

}  // namespace

bool writeFlac(const std::filesystem::path& path, const Wave& wave)
{
    const std::unique_ptr<FLAC__StreamEncoder, EncoderDeleter> encoder(FLAC__stream_encoder_new());
    if (!encoder)
        return false;
    FLAC__stream_encoder_set_channels(encoder.get(), 1);
    FLAC__stream_encoder_set_bits_per_sample(encoder.get(), 16);
    FLAC__stream_encoder_set_sample_rate(encoder.get(), unsigned(wave.sampleRate));
    FLAC__stream_encoder_set_compression_level(encoder.get(), 8);
    FLAC__stream_encoder_set_total_samples_estimate(encoder.get(), wave.samples.size());
    if (FLAC__stream_encoder_init_file(encoder.get(), path.c_str(), nullptr, nullptr) != FLAC__STREAM_ENCODER_INIT_STATUS_OK)
        return false;
    std::vector<FLAC__int32> samples(wave.samples.size());
    std::transform(wave.samples.begin(), wave.samples.end(), samples.begin(), [](float v) {
        return FLAC__int32(std::clamp(std::lround(v * 32767.0), -32768L, 32767L));
    });
    const bool written = FLAC__stream_encoder_process_interleaved(encoder.get(), samples.data(), unsigned(samples.size()));
    return FLAC__stream_encoder_finish(encoder.get()) && written;
}

std::vector<std::uint8_t> encodeFlac(int rate, const std::vector<std::vector<float>>& channels, std::uint64_t claimedFrames)
{
    std::vector<std::uint8_t> bytes;
    const std::unique_ptr<FLAC__StreamEncoder, EncoderDeleter> encoder(FLAC__stream_encoder_new());
    if (!encoder || channels.empty())
        return {};
    FLAC__stream_encoder_set_channels(encoder.get(), unsigned(channels.size()));
    FLAC__stream_encoder_set_bits_per_sample(encoder.get(), 16);
    FLAC__stream_encoder_set_sample_rate(encoder.get(), unsigned(rate));
    FLAC__stream_encoder_set_total_samples_estimate(encoder.get(), claimedFrames);
    // A stream that cannot seek back: the header keeps the claim, whatever follows it.
    const auto write = [](const FLAC__StreamEncoder*, const FLAC__byte buffer[], std::size_t length, std::uint32_t,
                          std::uint32_t, void* out) {
        auto& into = *static_cast<std::vector<std::uint8_t>*>(out);
        into.insert(into.end(), buffer, buffer + length);
        return FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
    };
    if (FLAC__stream_encoder_init_stream(encoder.get(), write, nullptr, nullptr, nullptr, &bytes)
        != FLAC__STREAM_ENCODER_INIT_STATUS_OK)
        return {};
    const std::size_t frames = channels.front().size();
    std::vector<FLAC__int32> interleaved;
    interleaved.reserve(frames * channels.size());
    for (std::size_t i = 0; i < frames; ++i) {
        for (const auto& channel : channels)
            interleaved.push_back(FLAC__int32(std::clamp(std::lround(channel.at(i) * 32767.0), -32768L, 32767L)));
    }
    const bool written = FLAC__stream_encoder_process_interleaved(encoder.get(), interleaved.data(), unsigned(frames));
    return FLAC__stream_encoder_finish(encoder.get()) && written ? bytes : std::vector<std::uint8_t>{};
}

std::optional<Wave> readNote(const std::filesystem::path& path)
{
    if (path.extension() != ".flac")
        return readWav(path);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
    std::string fault;
    const auto sound = decodeFlac(bytes, 30.0, fault);
    if (!sound)
        return std::nullopt;
    Wave wave{sound->rate, std::vector<float>(sound->samples.size())};
    std::transform(sound->samples.begin(), sound->samples.end(), wave.samples.begin(),
                   [](std::int16_t s) { return float(s) / 32768.0f; });
    return wave;
}

}  // namespace tonarika::audio
