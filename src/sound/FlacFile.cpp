#include "FlacFile.h"

// FLAC
#include <FLAC/stream_decoder.h>

// std
#include <algorithm>
#include <cstring>
#include <memory>

namespace tonarika {

bool isFlac(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "fLaC", 4) == 0;
}

namespace {

constexpr std::size_t kStreamInfoEnd = 4 + 4 + 34;  // magic, block header, STREAMINFO
static_assert(kStreamInfoEnd == kFlacHeaderBytes);

struct Decoding {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
    std::size_t limit = 0;  // samples at most
    FlacSound sound;
    std::string fault;
};

FLAC__StreamDecoderReadStatus readBytes(const FLAC__StreamDecoder*, FLAC__byte buffer[], std::size_t* length,
                                        void* data)
{
    auto& d = *static_cast<Decoding*>(data);
    const std::size_t count = std::min(*length, d.bytes.size() - d.position);
    std::memcpy(buffer, d.bytes.data() + d.position, count);
    d.position += count;
    *length = count;
    return count == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
}

FLAC__StreamDecoderWriteStatus writeFrame(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                          const FLAC__int32* const buffer[], void* data)
{
    auto& d = *static_cast<Decoding*>(data);
    const unsigned channels = frame->header.channels;
    const unsigned bits = frame->header.bits_per_sample;
    const unsigned frames = frame->header.blocksize;
    if (d.sound.rate == 0)
        d.sound.rate = int(frame->header.sample_rate);
    if (channels < 1 || channels > 2 || bits < 8 || bits > 24 || int(frame->header.sample_rate) != d.sound.rate) {
        d.fault = "its frames change their format";
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    }
    if (d.sound.samples.size() + frames > d.limit) {
        d.fault = "it holds more sound than its header says";
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    }
    for (unsigned i = 0; i < frames; ++i) {
        std::int64_t sum = 0;
        for (unsigned c = 0; c < channels; ++c)
            sum += buffer[c][i];
        // To 16 bits: shift a wider sample down, a narrower one up.
        std::int64_t value = sum / std::int64_t(channels);
        value = bits >= 16 ? value >> (bits - 16) : value << (16 - bits);
        d.sound.samples.push_back(std::int16_t(std::clamp<std::int64_t>(value, -32768, 32767)));
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void noteError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus status, void* data)
{
    auto& d = *static_cast<Decoding*>(data);
    if (d.fault.empty())
        d.fault = std::string("its stream is broken: ") + FLAC__StreamDecoderErrorStatusString[status];
}

struct StreamInfo {
    unsigned rate = 0;
    unsigned channels = 0;
    unsigned bits = 0;
    std::uint64_t total = 0;  // samples per channel
};

// The first metadata block, which must be STREAMINFO (type 0), 34 bytes long.
std::optional<StreamInfo> streamInfo(std::span<const std::uint8_t> bytes)
{
    if (!isFlac(bytes) || bytes.size() < kStreamInfoEnd || (bytes[4] & 0x7F) != 0 || bytes[5] != 0 || bytes[6] != 0
        || bytes[7] != 34)
        return std::nullopt;
    const std::uint8_t* info = bytes.data() + 8;
    StreamInfo s;
    s.rate = unsigned(info[10]) << 12 | unsigned(info[11]) << 4 | unsigned(info[12]) >> 4;
    s.channels = ((info[12] >> 1) & 0x07) + 1;
    s.bits = (unsigned(info[12] & 0x01) << 4 | unsigned(info[13]) >> 4) + 1;
    s.total = std::uint64_t(info[13] & 0x0F) << 32;
    for (int i = 14; i < 18; ++i)
        s.total |= std::uint64_t(info[i]) << (8 * (17 - i));
    return s;
}

struct DecoderDeleter {
    void operator()(FLAC__StreamDecoder* decoder) const { FLAC__stream_decoder_delete(decoder); }
};

}  // namespace

std::string flacFault(std::span<const std::uint8_t> bytes, double maxSeconds)
{
    const auto info = streamInfo(bytes);
    if (!info)
        return isFlac(bytes) ? "its stream information is missing" : "it is not a FLAC stream";
    if (info->channels > 2)
        return std::to_string(info->channels) + " channels";
    if (info->bits < 8 || info->bits > 24)
        return std::to_string(info->bits) + "-bit samples";
    if (info->rate < 8000 || info->rate > 192000)
        return "a rate of " + std::to_string(info->rate) + " Hz";
    if (info->total == 0)
        return "its length is not given";
    if (double(info->total) / info->rate > maxSeconds)
        return "it lasts over " + std::to_string(int(maxSeconds)) + " s";
    return {};
}

std::optional<FlacSound> decodeFlac(std::span<const std::uint8_t> bytes, double maxSeconds, std::string& fault)
{
    fault = flacFault(bytes, maxSeconds);
    if (!fault.empty())
        return std::nullopt;
    const std::unique_ptr<FLAC__StreamDecoder, DecoderDeleter> decoder(FLAC__stream_decoder_new());
    if (!decoder) {
        fault = "no FLAC decoder";
        return std::nullopt;
    }
    Decoding d;
    d.bytes = bytes;
    // No more than the header promised, whatever the frames hold.
    d.limit = std::size_t(streamInfo(bytes)->total);
    if (FLAC__stream_decoder_init_stream(decoder.get(), &readBytes, nullptr, nullptr, nullptr, nullptr, &writeFrame,
                                         nullptr, &noteError, &d)
        != FLAC__STREAM_DECODER_INIT_STATUS_OK) {
        fault = "the FLAC decoder cannot start";
        return std::nullopt;
    }
    const bool decoded = FLAC__stream_decoder_process_until_end_of_stream(decoder.get());
    if (!decoded || !d.fault.empty() || d.sound.samples.empty()) {
        fault = !d.fault.empty() ? d.fault : d.sound.samples.empty() ? "it holds no sound" : "it cannot be decoded";
        return std::nullopt;
    }
    if (double(d.sound.samples.size()) / d.sound.rate > maxSeconds) {
        fault = "it lasts over " + std::to_string(int(maxSeconds)) + " s";
        return std::nullopt;
    }
    return std::move(d.sound);
}

}  // namespace tonarika
