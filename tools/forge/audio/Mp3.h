// MP3 encoding of the music loops.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skyrift::forge::audio {

// Encodes interleaved stereo samples (-1..1 at kRate) at a constant `kbps`. The first frame
// carries an Info tag with the encoder's delay and padding, which lets the game's decoder trim
// them and loop the piece without a gap. Returns false with a message on failure.
bool EncodeMp3(const std::vector<float>& stereo, int kbps, std::vector<uint8_t>& mp3,
               std::string& error);

}  // namespace skyrift::forge::audio
