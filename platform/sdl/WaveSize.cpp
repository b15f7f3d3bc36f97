#include "platform/sdl/WaveSize.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace skyrift::platform {
namespace {

uint32_t Read32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Read16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

uint64_t DecodedWaveBytes(const char* fileName, const OutputFormat& output, std::string& error) {
  std::ifstream file(fileName, std::ios::binary | std::ios::ate);
  if (!file) {
    error = std::strerror(errno);
    return 0;
  }
  const uint64_t fileSize = static_cast<uint64_t>(file.tellg());
  file.seekg(0);
  unsigned char riff[12] = {};
  if (!file.read(reinterpret_cast<char*>(riff), sizeof riff) ||
      std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
    error = "not a WAV file";
    return 0;
  }

  // The chunks in turn, each padded to an even size, until both the format and the data are
  // known. Data the header claims but the file does not hold is never decoded.
  uint32_t rate = 0;
  uint16_t channels = 0, bits = 0;
  bool haveFormat = false;
  uint64_t at = sizeof riff;
  while (at + 8 <= fileSize) {
    unsigned char chunk[8];
    file.seekg(static_cast<std::streamoff>(at));
    if (!file.read(reinterpret_cast<char*>(chunk), sizeof chunk)) break;
    const uint64_t size = Read32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      unsigned char format[16];
      if (size < sizeof format || !file.read(reinterpret_cast<char*>(format), sizeof format)) break;
      channels = Read16(format + 2);
      rate = Read32(format + 4);
      bits = Read16(format + 14);
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) break;
      if (channels == 0 || rate == 0 || bits == 0) {
        error = "its format gives no channels, rate or sample size";
        return 0;
      }
      const uint64_t dataBytes = std::min(size, fileSize - (at + 8));
      const uint64_t frames = dataBytes * 8 / (uint64_t{bits} * channels);
      // Resampling up rounds each frame's share up; the limit errs on the large side.
      const uint64_t outputFrames = (frames * output.rate + rate - 1) / rate;
      return outputFrames * output.channels * output.sampleBytes;
    }
    at += 8 + size + (size & 1);
  }
  error = "no sound format or data found";
  return 0;
}

}  // namespace skyrift::platform
