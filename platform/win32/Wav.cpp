#include "platform/win32/Wav.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/LittleEndian.h"
#include "platform/WaveFile.h"

namespace skyrift::platform {
namespace {

// What this decoder takes: integer PCM of 8 to 32 bits and 32-bit float, in one or two
// channels, plain or in an extensible header; the same files the SDL build plays.
bool Supported(const WaveFormat& format) {
  const bool pcm = format.encoding == kWavePcm && (format.bits == 8 || format.bits == 16 ||
                                                   format.bits == 24 || format.bits == 32);
  const bool single = format.encoding == kWaveFloat && format.bits == 32;
  return (pcm || single) && (format.channels == 1 || format.channels == 2) && format.rate <= 384000;
}

// One sample at `p` as a 16-bit one.
int16_t Sample(const uint8_t* p, const WaveFormat& format) {
  if (format.encoding == kWaveFloat) {
    float value;
    std::memcpy(&value, p, sizeof value);
    if (std::isnan(value)) return 0;
    return static_cast<int16_t>(
        std::lrint(std::clamp(value, -1.0f, 32767.0f / 32768.0f) * 32768.0f));
  }
  switch (format.bits) {
    case 8:
      return static_cast<int16_t>((p[0] - 128) << 8);
    case 16:
      return static_cast<int16_t>(Read16(p));
    case 24:
      return static_cast<int16_t>(Read24(p) >> 8);
    default:
      return static_cast<int16_t>(Read32(p) >> 16);
  }
}

}  // namespace

StereoPcm ToOutputFormat(const int16_t* pcm, size_t frames, int channels, int rate,
                         int outputRate) {
  const auto outFrames =
      static_cast<size_t>((static_cast<uint64_t>(frames) * outputRate + rate - 1) / rate);
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

std::string WhyNotDecodable(const WaveLayout& layout) {
  if (!Supported(layout.format)) return "not 8- to 32-bit PCM or float in one or two channels";
  if (layout.Frames() == 0) return "it holds no sound";
  return WhySampleTooLong(layout);
}

std::optional<StereoPcm> DecodeWav(const uint8_t* file, size_t size, int outputRate,
                                   std::string* why) {
  std::string reason;
  const std::optional<WaveLayout> layout = ReadWaveLayout(file, size, reason);
  if (layout) reason = WhyNotDecodable(*layout);
  if (!reason.empty() || outputRate <= 0) {
    if (why != nullptr) *why = reason;
    return std::nullopt;
  }
  const WaveFormat& format = layout->format;
  const size_t frames = static_cast<size_t>(layout->Frames());
  const size_t sampleBytes = format.bits / 8;
  std::vector<int16_t> pcm(frames * format.channels);
  const uint8_t* data = file + layout->dataAt;
  for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = Sample(data + i * sampleBytes, format);
  return ToOutputFormat(pcm.data(), frames, format.channels, static_cast<int>(format.rate),
                        outputRate);
}

}  // namespace skyrift::platform
