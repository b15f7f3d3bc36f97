// An 8- or 16-bit WAV file's sound decoded the plain way, whole, before any mixing: widened to
// 16-bit stereo and resampled linearly to the output's rate (32.32 fixed-point steps from the
// first frame, the last frame held). The mixer converts as it plays; the tests hold what it
// makes against this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WaveFile.h"

namespace skyrift::testing {

// Empty when the file's headers cannot be read.
inline std::vector<int16_t> DecodedStereo(const std::vector<uint8_t>& file, int outputRate) {
  std::string why;
  const auto layout = platform::ReadWaveLayout(file.data(), file.size(), why);
  if (!layout) return {};
  const int channels = layout->format.channels, bytes = layout->format.bits / 8;
  const auto sample = [&](size_t frame, int side) -> int64_t {
    const uint8_t* at =
        file.data() + layout->dataAt + (frame * channels + (channels == 2 ? side : 0)) * bytes;
    return bytes == 1 ? (at[0] - 128) * 256 : static_cast<int16_t>(at[0] | at[1] << 8);
  };
  const auto frames = static_cast<size_t>(layout->Frames());
  const uint64_t rate = layout->format.rate;
  const auto outFrames = static_cast<size_t>((frames * uint64_t(outputRate) + rate - 1) / rate);
  const uint64_t step = (rate << 32) / static_cast<uint64_t>(outputRate);
  std::vector<int16_t> stereo(outFrames * 2);
  for (size_t i = 0; i < outFrames; ++i) {
    const uint64_t position = i * step;
    const auto at = static_cast<size_t>(position >> 32);
    const size_t next = at + 1 < frames ? at + 1 : at;
    const auto fraction = static_cast<int64_t>((position >> 16) & 0xFFFF);
    for (int side = 0; side < 2; ++side) {
      const int64_t a = sample(at, side), b = sample(next, side);
      stereo[i * 2 + side] = static_cast<int16_t>(a + (((b - a) * fraction) >> 16));
    }
  }
  return stereo;
}

}  // namespace skyrift::testing
