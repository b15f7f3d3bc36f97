// How large a WAV file becomes once decoded, read from its header alone: the mixer decodes a
// sample whole when it loads, so a tiny file declaring a very low rate could take all memory.
#pragma once

#include <cstdint>
#include <string>

namespace skyrift::platform {

struct OutputFormat {
  int rate;         // frames per second
  int channels;
  int sampleBytes;  // bytes of one channel's sample
};

// The bytes the sound data of `fileName` takes once converted to `output`. When the file is not
// a WAV file whose format and data can be found, `error` says why (it is left alone otherwise).
uint64_t DecodedWaveBytes(const char* fileName, const OutputFormat& output, std::string& error);

}  // namespace skyrift::platform
