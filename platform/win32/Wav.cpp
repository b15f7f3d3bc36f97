#include "platform/win32/Wav.h"

#include <cstring>

#include "platform/Mixer.h"

namespace skyrift::platform {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

struct Format {
  uint16_t channels = 0;
  uint32_t rate = 0;
  uint16_t bits = 0;
};

bool Supported(const uint8_t* chunk, uint32_t size, Format& format) {
  if (size < 16) return false;
  uint16_t tag = Read16(chunk);
  // An extensible header names its real format in the first two bytes of its sub-format.
  if (tag == kFormatExtensible && size >= 26) tag = Read16(chunk + 24);
  format = Format{Read16(chunk + 2), Read32(chunk + 4), Read16(chunk + 14)};
  return tag == kFormatPcm && (format.channels == 1 || format.channels == 2) &&
         (format.bits == 8 || format.bits == 16) && format.rate >= 1 && format.rate <= 384000;
}

}  // namespace

StereoPcm ToOutputFormat(const int16_t* pcm, size_t frames, int channels, int rate, int outputRate) {
  const auto outFrames = static_cast<size_t>((static_cast<uint64_t>(frames) * outputRate + rate - 1) / rate);
  StereoPcm out(outFrames * 2);
  if (frames == 0) return out;
  // Position in the source in 32.32 fixed point, so long samples keep their pitch exactly.
  const uint64_t step = (static_cast<uint64_t>(rate) << 32) / outputRate;
  uint64_t position = 0;
  for (size_t i = 0; i < outFrames; ++i, position += step) {
    const size_t at = static_cast<size_t>(position >> 32);
    const size_t next = at + 1 < frames ? at + 1 : at;
    const int64_t fraction = static_cast<int64_t>((position >> 16) & 0xFFFF);
    for (int side = 0; side < 2; ++side) {
      const int channel = channels == 2 ? side : 0;
      const int64_t a = pcm[at * channels + channel], b = pcm[next * channels + channel];
      out[i * 2 + side] = static_cast<int16_t>(a + (((b - a) * fraction) >> 16));
    }
  }
  return out;
}

std::optional<StereoPcm> DecodeWav(const uint8_t* file, size_t size, int outputRate,
                                   std::string* why) {
  const auto refuse = [why](std::string reason) -> std::optional<StereoPcm> {
    if (why != nullptr) *why = std::move(reason);
    return std::nullopt;
  };
  if (file == nullptr || size < 12 || std::memcmp(file, "RIFF", 4) != 0 ||
      std::memcmp(file + 8, "WAVE", 4) != 0 || outputRate <= 0) {
    return refuse("not a WAV file");
  }
  Format format;
  bool haveFormat = false;
  for (size_t at = 12; at + 8 <= size;) {
    const uint8_t* header = file + at;
    const uint32_t length = Read32(header + 4);
    const size_t available = size - at - 8;
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (length > available || !Supported(header + 8, length, format)) {
        return refuse("not 8- or 16-bit PCM in one or two channels");
      }
      haveFormat = true;
    } else if (std::memcmp(header, "data", 4) == 0) {
      if (!haveFormat) return refuse("its sound data comes before its format");
      // A data chunk cut short by a damaged file plays the whole frames that are there.
      const size_t bytes = length < available ? length : available;
      const size_t frameBytes = format.channels * (format.bits / 8);
      const size_t frames = bytes / frameBytes;
      const uint64_t outFrames = (static_cast<uint64_t>(frames) * outputRate + format.rate - 1) / format.rate;
      if (frames == 0) return refuse("it holds no sound");
      if (outFrames * 4 > kMaxDecodedSampleBytes) {
        return refuse("it would take " + std::to_string((outFrames * 4) >> 20) +
                      " MB decoded, more than the " + std::to_string(kMaxDecodedSampleBytes >> 20) +
                      " MB a sample may");
      }
      std::vector<int16_t> pcm(frames * format.channels);
      const uint8_t* data = header + 8;
      for (size_t i = 0; i < pcm.size(); ++i) {
        pcm[i] = format.bits == 8 ? static_cast<int16_t>((data[i] - 128) << 8)
                                  : static_cast<int16_t>(Read16(data + i * 2));
      }
      return ToOutputFormat(pcm.data(), frames, format.channels, format.rate, outputRate);
    }
    if (length > available) break;
    at += 8 + length + (length & 1);  // chunks are padded to an even size
  }
  return refuse("it holds no sound");
}

}  // namespace skyrift::platform
