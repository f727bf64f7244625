#pragma once

// own
#include "SoundOutput.h"

// std
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tonarika {

// Decodes the bytes of a note file that passed its check (a wave with SDL's decoder, a
// FLAC file with libFLAC) and converts them to one channel of signed 16-bit samples at
// `rate`, from the note's first audible sample on (see leadIn()); nothing, and why in
// `fault`, where it cannot, or where what it decoded is empty or lasts over maxSeconds.
std::shared_ptr<const Samples> decodeNote(const std::vector<std::uint8_t>& bytes, int rate, double maxSeconds,
                                          std::string& fault);

// What decoding keeps for the thread that decodes (SDL's error text), which a thread that
// decoded lets go of as it ends: SDL does so only for threads of its own.
void endDecodingOnThisThread();

// How many samples at the start lie below -60 dBFS: silence before the note, which would
// only delay it and the moment its reaction time starts from.
std::size_t leadIn(const Samples& samples);

// The alert tone for a note that cannot be loaded: two short 1 kHz pips, plainly not a
// note of any octave the game asks.
std::shared_ptr<const Samples> alertTone(int rate);

}  // namespace tonarika
