// The sound of a WAV file as the shared mixer holds it (platform/MixCore.h): the file's own
// frames, converted only as they are mixed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/WaveFile.h"

namespace skyrift::platform {

// Whole frames of 8-bit unsigned or 16-bit signed little-endian samples, mono or stereo, at
// their own rate.
struct SampleSound {
  std::vector<uint8_t> bytes;
  int bits = 16;
  int channels = 1;
  uint32_t rate = 0;
  size_t Frames() const { return bytes.size() / (bits / 8 * channels); }
};

// The sound of every file platform/WaveFile.h plays. An 8- or 16-bit mono or stereo file's data
// is kept byte for byte; wider samples are narrowed to 16 bits and more than two channels mixed
// down to stereo, at the file's rate. Nothing when it refuses the file; then `why`, when given,
// says why.
std::optional<SampleSound> ReadSampleSound(const uint8_t* file, size_t size,
                                           std::string* why = nullptr);

}  // namespace skyrift::platform
