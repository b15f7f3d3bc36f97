// WAV files decoded into the shared mixer's own format (platform/MixCore.h): 16-bit stereo at
// the output's rate.
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

// Every file platform/WaveFile.h plays, at any rate (resampled to `outputRate`), more than two
// channels mixed down to stereo. Nothing when it refuses the file; then `why`, when given,
// says why.
std::optional<StereoPcm> DecodeWav(const uint8_t* file, size_t size, int outputRate,
                                   std::string* why = nullptr);

// Widens to stereo and resamples (linearly) to `outputRate`; `pcm` holds `channels` (1 or 2)
// interleaved samples per frame at `rate`.
StereoPcm ToOutputFormat(const int16_t* pcm, size_t frames, int channels, int rate, int outputRate);

}  // namespace skyrift::platform
