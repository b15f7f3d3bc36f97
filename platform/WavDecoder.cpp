#include "platform/WavDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/LittleEndian.h"
#include "platform/WaveFile.h"

namespace skyrift::platform {
namespace {

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

// One frame of three to eight channels, in the standard order (front left and right, centre,
// low frequencies, then the surrounds left and right in pairs), as a stereo pair: the centre and
// low frequencies go to both sides at half, each surround to its own side, and each side is
// scaled by what it was given so that nothing clips.
void MixDown(const uint8_t* frame, const WaveFormat& format, int16_t* stereo) {
  const size_t sampleBytes = format.bits / 8;
  float sides[2] = {}, weights[2] = {};
  for (int channel = 0; channel < format.channels; ++channel) {
    const float sample = Sample(frame + channel * sampleBytes, format);
    const bool shared = channel == 2 || channel == 3;
    for (int side = 0; side < 2; ++side) {
      const float weight = shared ? 0.5f : (channel % 2 == side ? 1.0f : 0.0f);
      sides[side] += sample * weight;
      weights[side] += weight;
    }
  }
  for (int side = 0; side < 2; ++side)
    stereo[side] = static_cast<int16_t>(std::lrint(sides[side] / weights[side]));
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

std::optional<StereoPcm> DecodeWav(const uint8_t* file, size_t size, int outputRate,
                                   std::string* why) {
  std::string reason;
  const std::optional<WaveLayout> layout = ReadWaveLayout(file, size, reason);
  if (layout) reason = WhyNotPlayable(*layout);
  if (!reason.empty() || outputRate <= 0) {
    if (why != nullptr) *why = reason;
    return std::nullopt;
  }
  const WaveFormat& format = layout->format;
  const size_t frames = static_cast<size_t>(layout->Frames());
  const size_t sampleBytes = format.bits / 8;
  const int kept = std::min<int>(format.channels, 2);
  std::vector<int16_t> pcm(frames * kept);
  const uint8_t* data = file + layout->dataAt;
  if (format.channels <= 2) {
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = Sample(data + i * sampleBytes, format);
  } else {
    for (size_t i = 0; i < frames; ++i)
      MixDown(data + i * sampleBytes * format.channels, format, &pcm[i * 2]);
  }
  return ToOutputFormat(pcm.data(), frames, kept, static_cast<int>(format.rate), outputRate);
}

}  // namespace skyrift::platform
