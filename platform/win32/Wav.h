// WAV files decoded into the mixer's own format: 16-bit stereo at the output's rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/WaveFile.h"

namespace skyrift::platform {

// Interleaved left and right samples.
using StereoPcm = std::vector<int16_t>;

// Integer PCM of 8, 16, 24 or 32 bits or 32-bit float, mono or stereo, at any rate (resampled
// to `outputRate`), read as platform/WaveFile.h reads it. Nothing when the file is not such a
// WAV, is damaged, or is longer than a sample may be (platform/Mixer.h); then `why`, when
// given, says which.
std::optional<StereoPcm> DecodeWav(const uint8_t* file, size_t size, int outputRate,
                                   std::string* why = nullptr);

// Widens to stereo and resamples (linearly) to `outputRate`; `pcm` holds `channels` (1 or 2)
// interleaved samples per frame at `rate`.
// Why a file of this layout cannot be decoded here (an encoding, channel count or length this
// decoder does not take), or empty when it can.
std::string WhyNotDecodable(const WaveLayout& layout);

StereoPcm ToOutputFormat(const int16_t* pcm, size_t frames, int channels, int rate, int outputRate);

}  // namespace skyrift::platform
